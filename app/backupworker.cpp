#include "app/backupworker.h"

#include "data/errors.h"

namespace tb {

BackupWorker::BackupWorker(const QString &book) : m_book(book), m_folder(book)
{
}

BackupWorker::~BackupWorker() = default;

bool BackupWorker::due(const QDateTime &now, bool atEnd)
{
    if (!m_changes) {
        const std::vector<BackupCopy> copies = m_folder.copies();
        m_lastTry = copies.empty() ? QDateTime() : copies.back().time;
        m_changes = std::make_unique<BookChanges>(m_book, m_lastTry);
    }
    if (!m_changes->pending())
        return false;
    if (atEnd || !m_lastTry.isValid())
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
