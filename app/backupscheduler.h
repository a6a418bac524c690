#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace tb {

class BackupWorker;

// Keeps checked copies of the SQLite book while the application runs: it looks at the book
// every minute, a worker thread takes a copy when one is due, and once more at the end of
// the run if the book changed. When no copy can be written, the user is told once per run,
// with the folder and the reason; the application carries on.
class BackupScheduler : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // book: the path of an SQLite book. now: the time a copy is stamped with.
    explicit BackupScheduler(const QString &book, Clock now = &QDateTime::currentDateTime,
                             QObject *parent = nullptr);
    // Takes the last copy if the book changed (waiting for it), then ends the thread.
    ~BackupScheduler() override;

    // The automatic copies for the application's book; none for a server book or a book
    // opened on a network share.
    static std::unique_ptr<BackupScheduler> forApplicationBook();

    void setInterval(int milliseconds);
    // Asks the worker to look now; it answers with copied() or failed() when it acts.
    void look();

signals:
    void copied(const QString &path);
    void failed(const QString &message);

private:
    void tell(const QString &message);
    void finish();

    Clock m_now;
    QThread m_thread;
    std::unique_ptr<BackupWorker> m_worker;
    QTimer m_timer;
    bool m_told = false;
    bool m_finished = false;
};

} // namespace tb
