#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tb {

// The book in an SQLite file, as a connection opens it.
//
// The file is checked for the book's tables before anything is written to it (a new, empty
// file gets them). When the file can be read but not written (its folder is read-only, the
// disk is full), the book opens for viewing, so that the user still sees the data; every
// save then first tries to open it for writing again, and fails with the reason while that
// is not possible, so the next save after the cause is gone goes through without a restart.
class SqliteBook
{
public:
    // Opens the connection (its name and driver set) on the file; throws when the file is
    // no book or cannot even be read.
    static void open(QSqlDatabase &db, const QString &path);
    // Opens the connection on the book for reading only: nothing is ever written to the
    // file, no schema given to it; a file without the book's tables is refused.
    static void openReadOnly(QSqlDatabase &db, const QString &path);
    static bool viewingOnly(const QSqlDatabase &db);
    // Before a write: a book open for viewing only is opened for writing, or the reason why
    // not is thrown.
    static void prepareWrite(QSqlDatabase &db);
    // Changes whenever the connection has been opened anew, so that statements prepared on
    // it are prepared again.
    static int generation(const QSqlDatabase &db);
    // The connection is closed for good.
    static void forget(const QString &connectionName);

private:
    static void openForWriting(QSqlDatabase &db, const QString &path);
    static void openForViewing(QSqlDatabase &db, const QString &path);
};

} // namespace tb
