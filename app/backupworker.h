#pragma once

#include "data/book/backupfolder.h"
#include "data/book/bookchanges.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

namespace tb {

// The side of the automatic copies that runs on a thread of its own: it looks whether the
// book changed, takes a checked copy when one is due and tells how it went. All its
// connections are its thread's own, so the user's saves never wait for it.
class BackupWorker : public QObject
{
    Q_OBJECT
public:
    // A copy is due when the book changed and the last copy (or the last attempt) is this
    // old; at the end of a run when the book changed during the run.
    static constexpr qint64 IntervalSeconds = 3600;

    explicit BackupWorker(const QString &book);
    ~BackupWorker() override;

    // Puts its thread behind the user's, and notes the book's state as the run begins, so
    // that the end of even a short run knows whether the run changed it.
    void prime();
    // Takes a copy when one is due at that time.
    void look(const QDateTime &now, bool atEnd);
    // Lets go of the connection; call on the worker's thread before it ends.
    void release();

signals:
    void copied(const QString &path);
    void failed(const QString &message);

private:
    bool due(const QDateTime &now, bool atEnd);
    BookChanges &changes();

    QString m_book;
    BackupFolder m_folder;
    std::unique_ptr<BookChanges> m_changes;
    QDateTime m_lastTry;
};

} // namespace tb
