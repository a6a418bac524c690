#include "data/book/backgroundbookcheck.h"

#include <QThread>

namespace tb {

BackgroundBookCheck::BackgroundBookCheck(QObject *parent) : QObject(parent) {}

BackgroundBookCheck::~BackgroundBookCheck()
{
    if (!m_thread)
        return;
    m_check.interrupt();
    m_thread->wait();
}

void BackgroundBookCheck::start(const QString &path)
{
    if (m_thread)
        return;
    m_thread = QThread::create([this, path] {
        const BookCheck::Result result = m_check.run(path);
        if (result.outcome == BookCheck::Outcome::Damaged)
            QMetaObject::invokeMethod(this, [this, message = result.message] {
                emit damaged(message);
            }, Qt::QueuedConnection);
    });
    m_thread->setParent(this);
    connect(m_thread, &QThread::finished, this, &BackgroundBookCheck::finished);
    m_thread->start(QThread::LowPriority);
}

bool BackgroundBookCheck::running() const
{
    return m_thread && m_thread->isRunning();
}

} // namespace tb
