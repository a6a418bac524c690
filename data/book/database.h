#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace tb {

// The database aliases the record sets name ("misAccess"), resolved to SQLite files, or to
// a PostgreSQL database where the path is a postgresql:// URI (see PgDatabase).
//
// The default alias resolves, in this order, to: a path set by setPath(); the path in the
// environment variable TRADEBOOK_DATABASE; the settings entry "database/path"; the file
// tradebook.db in the user's data folder. A missing file is created with the full schema,
// silently for the default file and a path set by setPath(); a file named by the
// environment or the settings only once allowCreate() says so, since a mistyped path would
// otherwise look like a book whose records are all gone. An existing file is never
// altered: opening a record set checks its table instead. An empty file is no book: it is
// treated as a missing one. Files and folders made here are private (see PrivateFiles).
//
// An alias opened read-only (the command-line tools that only read a book) reads an
// existing book and never writes to it: a missing or empty file, or a database without the
// book's tables, is refused, never given the schema.
class Database
{
public:
    static constexpr const char *DefaultAlias = "misAccess";

    // Where the path of an alias comes from.
    enum class PathSource { Default, Environment, Settings, Program };
    // Whether the file of an alias is there, or what stands in the way of creating it.
    // Empty: a file of no bytes, which a book never is (a copy cut short, a placeholder).
    enum class FileState { Exists, Missing, Empty, FolderMissing, FolderNotWritable, IsFolder };

    // The open connection of an alias, opening (and provisioning) it on first use.
    // Throws DatabaseError when the file cannot be opened.
    static QSqlDatabase connection(const QString &alias = DefaultAlias);

    // Points an alias at another file; closes a connection already open on the alias.
    // An empty path hands the default alias back to the environment and settings.
    static void setPath(const QString &alias, const QString &path);
    static QString path(const QString &alias = DefaultAlias);
    static QString defaultPath();
    static PathSource pathSource(const QString &alias = DefaultAlias);
    static FileState fileState(const QString &alias = DefaultAlias);
    // Lets the next opening of the alias create its current path, wherever that came from.
    static void allowCreate(const QString &alias = DefaultAlias);
    // From its next opening on, the alias only reads its book (until setPath() points it
    // elsewhere): an SQLite file opened read-only, a server session in read-only
    // transactions.
    static void openReadOnly(const QString &alias = DefaultAlias);
    static bool isReadOnly(const QString &alias = DefaultAlias);

    // The connection string the query screens carry, naming the same file as the alias:
    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Persist Security Info=False".
    static QString connectionString(const QString &alias = DefaultAlias);
    // The file a connection string names (its "Data Source" entry); empty if none.
    static QString pathFromConnectionString(const QString &connectionString);
    // The connection for a connection string: shares the alias's connection when both name
    // the same file, so a record saved through one is found through the other.
    static QSqlDatabase connectionFor(const QString &connectionString);

    // Closes every connection (tests and the benchmark switch databases with it).
    static void closeAll();

    // Before a statement on a server connection that was lost and let go: opens it anew,
    // so that record sets holding it go on working once the server is back. Throws the
    // reason when the server still cannot be reached, or when a transaction was open on
    // the lost session.
    static void reopenIfLost(const QSqlDatabase &db);

    // The message a refused statement shows (see errormessages.h); db names the file that
    // the message speaks of. A connection the error says is lost is closed, so that the
    // next connection() opens it anew.
    static QString errorText(const QSqlError &error, const QSqlDatabase &db = QSqlDatabase());

    // Before a write on the connection: a book open for viewing only (its file could not be
    // written when it was opened) is opened for writing again, or the reason is thrown.
    static void prepareWrite(QSqlDatabase db);
    // Changes whenever the connection has been opened anew: statements prepared on it
    // before are prepared again.
    static int generation(const QSqlDatabase &db);

    // Runs one statement with bound values; throws DatabaseError with the driver's text.
    static QSqlQuery exec(const QSqlDatabase &db, const QString &sql,
                          const QVariantList &values = {});
};

} // namespace tb
