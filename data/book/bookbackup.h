#pragma once

#include <QString>

namespace tb {

// Checked copies of an SQLite book. Every function opens connections of its own, so it may
// run on any thread, and reads the book without writing to it.
class BookBackup
{
public:
    // Writes a consistent copy of the book into target (which must not exist): the book as
    // one read transaction sees it, so a save going on meanwhile is in it whole or not at
    // all, and the save is not held up. The copy is written under a temporary name beside
    // target, checked (check() below), made private to its owner and only then renamed, so
    // that no half or failed copy ever carries a copy's name. Throws DatabaseError naming
    // the folder, with the engine's text below; nothing is left behind then.
    static void write(const QString &book, const QString &target);

    // Throws DatabaseError unless the file is a whole book: not empty, an SQLite database
    // whose integrity check passes and that has every table and column of the book. Opens
    // it for reading only.
    static void check(const QString &file);

    struct RowCounts
    {
        qint64 products = 0;
        qint64 customers = 0;
        qint64 quotations = 0;
    };
    // Rows in the book's main tables, read without writing; throws DatabaseError.
    static RowCounts rowCounts(const QString &file);

    // True when a connection, in this or another process, has the book open: the book
    // cannot then be taken for this process alone. Writes nothing.
    static bool inUse(const QString &book);

    // The name a copy is written under until it has been checked, and whether a file name
    // is such a name (left by a copy that was stopped half way).
    static QString temporaryName(const QString &target);
    static bool isTemporary(const QString &fileName);
};

} // namespace tb
