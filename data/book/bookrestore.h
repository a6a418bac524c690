#pragma once

#include <QDateTime>
#include <QString>

namespace tb {

// Puts a copy in the place of an SQLite book, in one step a shop owner can take.
class BookRestore
{
public:
    // Checks that file is a whole book, refuses while any program has the book open, sets
    // the book aside as a dated copy in its backup folder, and renames a checked copy of the
    // file into the book's place (the book's stale log files removed first, since the
    // engine would replay them onto the new file). Returns where the book was set aside
    // (empty when there was none). Throws DatabaseError, having changed nothing, when the
    // file is no book, the book is open, or the book cannot be set aside.
    static QString restore(const QString &file, const QString &book, const QDateTime &now);
};

} // namespace tb
