#pragma once

#include <QString>

#include <functional>

namespace tb {

// Moves a whole book from one database to another: an SQLite file into an empty PostgreSQL
// database when an office starts sharing its book, and back. Every table is copied in one
// transaction on the target, read from one consistent view of the source, and the row
// counts are compared before the transaction commits: the target ends with the whole book
// or with nothing.
class BookCopier
{
public:
    // Rows copied so far, out of all rows, and the table being copied.
    using Progress = std::function<void(qint64 done, qint64 total, const QString &table)>;

    // from and to are file paths or postgresql:// URIs. The source must be a book, and is
    // only read; the target is created (a file, in a folder that exists) or provisioned (an
    // empty server database) with the schema, and must hold no row. A failed copy removes
    // the target file it created. Returns the rows copied. Throws DatabaseError with a
    // message naming the table or the file that failed.
    static qint64 copy(const QString &from, const QString &to, const Progress &progress = {});

private:
    static qint64 copyBook(const QString &from, const QString &to, const Progress &progress);
};

} // namespace tb
