#include "app/backupscheduler.h"

#include "app/backupworker.h"
#include "controls/dialogs.h"
#include "data/book/database.h"
#include "data/book/networkshare.h"
#include "data/book/pguri.h"

#include <QCoreApplication>

namespace tb {

namespace {

constexpr int LookEveryMilliseconds = 60 * 1000;

} // namespace

BackupScheduler::BackupScheduler(const QString &book, Clock now, QObject *parent)
    : QObject(parent), m_now(std::move(now)), m_worker(std::make_unique<BackupWorker>(book))
{
    m_thread.setObjectName(QStringLiteral("backups"));
    m_worker->moveToThread(&m_thread);
    connect(m_worker.get(), &BackupWorker::copied, this, &BackupScheduler::copied);
    connect(m_worker.get(), &BackupWorker::failed, this, &BackupScheduler::failed);
    connect(m_worker.get(), &BackupWorker::failed, this, &BackupScheduler::tell);
    m_thread.start();
    BackupWorker *worker = m_worker.get();
    QMetaObject::invokeMethod(worker, [worker] { worker->prime(); }, Qt::QueuedConnection);
    m_timer.setInterval(LookEveryMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &BackupScheduler::look);
    m_timer.start();
}

BackupScheduler::~BackupScheduler()
{
    finish();
}

std::unique_ptr<BackupScheduler> BackupScheduler::forApplicationBook()
{
    const QString book = Database::path();
    // A book opened on a share by the expert's choice is held for its connection alone:
    // no second connection could read it for a copy.
    if (PgUri::isUri(book) || NetworkShare::holds(book))
        return nullptr;
    return std::make_unique<BackupScheduler>(book);
}

void BackupScheduler::setInterval(int milliseconds)
{
    m_timer.setInterval(milliseconds);
}

void BackupScheduler::look()
{
    BackupWorker *worker = m_worker.get();
    const QDateTime now = m_now();
    QMetaObject::invokeMethod(worker, [worker, now] { worker->look(now, false); },
                              Qt::QueuedConnection);
}

void BackupScheduler::tell(const QString &message)
{
    if (m_told)
        return;
    m_told = true;
    ShowError(message);
}

void BackupScheduler::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer.stop();
    BackupWorker *worker = m_worker.get();
    const QDateTime now = m_now();
    QThread *home = thread();
    QMetaObject::invokeMethod(worker, [worker, now, home] {
        worker->look(now, true);
        worker->release();
        worker->moveToThread(home); // deleted there, after its thread has ended
        QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    m_thread.wait();
    // What the last look said (a copy that failed) is still to be told.
    QCoreApplication::sendPostedEvents(this);
}

} // namespace tb
