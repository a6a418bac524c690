#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tb {

class PgUri;

// The shared book on a PostgreSQL server (Qt's QPSQL driver), for offices where several PCs
// keep one book: an SQLite file on a network share is not safe for that.
class PgDatabase
{
public:
    static constexpr const char *DriverName = "QPSQL";

    // ReadOnly: a session whose transactions cannot write, on a book that must exist.
    enum class Access { ReadWrite, ReadOnly };

    // Opens a connection named connectionName to the database the URI names (see PgUri).
    // An empty database gets the full schema, inside one transaction that other PCs
    // starting at the same moment wait for (read-only: it is refused instead); an existing
    // one is checked, never altered. Throws DatabaseError naming the server and the cause
    // when it cannot be reached.
    static QSqlDatabase open(const QString &connectionName, const QString &uri,
                             Access access = Access::ReadWrite);

    static bool isPostgres(const QSqlDatabase &db);
    // How the messages name the database of a connection: the server and database for a
    // PostgreSQL connection, the file otherwise.
    static QString placeOf(const QSqlDatabase &db);

    // The statement with each "?" that a text is bound to read as text (CAST(? AS TEXT)):
    // a server otherwise reads it as the type of the column it is compared with, and refuses
    // a text longer than that column instead of finding no row. Text between quotes is left
    // alone.
    static QString withTextParameters(const QString &sql, const QVariantList &values);

private:
    static void provision(const QSqlDatabase &db);
    static void verifyBook(const QSqlDatabase &db, const PgUri &uri);
};

} // namespace tb
