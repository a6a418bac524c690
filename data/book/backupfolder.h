#pragma once

#include "data/book/backupretention.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace tb {

// The folder that keeps the checked copies of one SQLite book: the settings entry
// backup/folder when it names one (a relative one counts from the book's folder), else
// "backups" beside the book. A copy is named after the book and the local time it was
// taken ("tradebook-20261208-153000.db"), so the folder can be read without the application.
class BackupFolder
{
public:
    explicit BackupFolder(const QString &book);

    QString path() const { return m_path; }
    QString book() const { return m_book; }

    // The copies of this book in the folder, oldest first; files of other names (other
    // books, copies set aside before a restore, copies not yet checked) are not among them.
    std::vector<BackupCopy> copies() const;
    // Where a copy taken at that time goes, and where the book is set aside before a restore.
    QString copyPath(const QDateTime &time) const;
    QString asidePath(const QDateTime &time) const;
    // Space the copies may take together: backup/maxMegabytes, by default 20 times the
    // book's current size.
    qint64 budgetBytes() const;

    // Makes the folder (and the folders above it) private to the user where missing;
    // throws DatabaseError naming it when it cannot.
    void create() const;
    // Writes a checked copy of the book taken now, then lets go of the copies the age rule
    // and the budget no longer keep. Throws DatabaseError naming the folder.
    BackupCopy take(const QDateTime &now) const;
    // Deletes the copies the rule lets go and copies left unfinished by a stopped copy.
    void prune(const QDateTime &now) const;

private:
    QString m_book;
    QString m_path;
};

} // namespace tb
