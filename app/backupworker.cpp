#include "app/backupworker.h"

#include "data/book/errors.h"
#include "data/book/threadpriority.h"

namespace tb {

BackupWorker::BackupWorker(const QString &book) : m_book(book), m_folder(book)
{
}

BackupWorker::~BackupWorker() = default;

BookChanges &BackupWorker::changes()
{
    if (!m_changes) {
        const std::vector<BackupCopy> copies = m_folder.copies();
        m_lastTry = copies.empty() ? QDateTime() : copies.back().time;
        m_changes = std::make_unique<BookChanges>(m_book, m_lastTry);
    }
    return *m_changes;
}

void BackupWorker::prime()
{
    yieldToUserThreads();
    try {
        changes().pending();
    } catch (const DatabaseError &) {
        // The first look says why, if the book still cannot be read then.
    }
}

bool BackupWorker::due(const QDateTime &now, bool atEnd)
{
    if (!changes().pending())
        return false;
    // What earlier runs changed waits for a look: a run that changed nothing ends at once
    // instead of copying the whole book on its way out.
    if (atEnd)
        return m_changes->changedSinceFirstLook();
    if (!m_lastTry.isValid())
        return true;
    const qint64 age = m_lastTry.secsTo(now);
    // A clock set back would otherwise hold the copies off until it caught up.
    return age >= IntervalSeconds || age < 0;
}

void BackupWorker::look(const QDateTime &now, bool atEnd)
{
    try {
        if (!due(now, atEnd))
            return;
        // A folder that failed is tried again an hour later, not at every look.
        m_lastTry = now;
        const BackupCopy copy = m_folder.take(now);
        m_changes->copied();
        emit copied(copy.path);
    } catch (const DatabaseError &error) {
        emit failed(error.message());
    }
}

void BackupWorker::release()
{
    m_changes.reset();
}

} // namespace tb
