#include "data/book/database.h"

#include "data/book/errormessages.h"
#include "data/book/errors.h"
#include "data/book/pgdatabase.h"
#include "data/book/pguri.h"
#include "data/book/privatefiles.h"
#include "data/book/schema.h"
#include "data/book/sqlitebook.h"
#include "data/book/statementcache.h"
#include "data/book/statementcounter.h"
#include "data/book/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <exception>

namespace tb {

namespace {

const QString ConnectionPrefix = QStringLiteral("tradebook:");

QHash<QString, QString> &aliasPaths()
{
    static QHash<QString, QString> paths;
    return paths;
}

// The path each alias may create although the environment or the settings named it.
QHash<QString, QString> &creatablePaths()
{
    static QHash<QString, QString> paths;
    return paths;
}

QSet<QString> &readOnlyAliases()
{
    static QSet<QString> aliases;
    return aliases;
}

QString connectionName(const QString &alias)
{
    return ConnectionPrefix + alias;
}

QString pathFromEnvironment()
{
    return qEnvironmentVariable("TRADEBOOK_DATABASE");
}

QString pathFromSettings()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"))
        .value(QStringLiteral("database/path"))
        .toString();
}

bool isEmptyFile(const QFileInfo &file)
{
    return file.isFile() && file.size() == 0;
}

// A missing (or empty) file is made silently only where nobody typed the path: the default
// file and its folder, or a path the program set. Otherwise the user must have agreed.
void checkMayCreate(const QString &alias, const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && !isEmptyFile(file))
        return;
    const Database::PathSource source = Database::pathSource(alias);
    if (source == Database::PathSource::Default || source == Database::PathSource::Program) {
        PrivateFiles::makeFolders(file.absolutePath());
        return;
    }
    if (creatablePaths().value(alias) != path)
        throw DatabaseError(QStringLiteral("Database file '%1' does not exist").arg(path));
}

// A book that only the program's reader may see: the reason a file cannot be read as one,
// before the engine is asked (which would make an empty file a database).
void checkReadable(const QString &path)
{
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists())
        throw DatabaseError(QStringLiteral("資料庫檔案不存在: %1\n請確認路徑是否正確。")
                                .arg(shown));
    if (isEmptyFile(file))
        throw DatabaseError(QStringLiteral("資料庫檔案 %1 是空的 (0 位元組),不是帳本的資料庫。\n"
                                           "請確認路徑,或從備份還原這個檔案。")
                                .arg(shown));
    if (!file.isFile())
        throw DatabaseError(QStringLiteral("資料庫路徑 %1 不是檔案。").arg(shown));
}

QSqlDatabase sqliteConnection(const QString &name)
{
    return QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                        : QSqlDatabase::addDatabase("QSQLITE", name);
}

// Where a path or URI leads, to tell whether two name the same book.
QString bookLocation(const QString &path)
{
    return PgUri::isUri(path) ? path.trimmed() : QFileInfo(path).absoluteFilePath();
}

// Closes a connection for good: the statements prepared on it, the transaction scopes open
// on it and what is known of its file go with it.
void dropConnection(const QString &name)
{
    StatementCache::forget(name);
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    Transaction::forgetConnection(name);
    SqliteBook::forget(name);
}

// A connection the server lost is closed, whatever the driver reports, and the statements
// prepared on it, which died with its session, are let go: its next use opens it anew (see
// Database::reopenIfLost) and prepares statements there afresh. Guards open on it keep
// their scopes, since ending them undoes what their record sets did.
void letGoOf(QSqlDatabase db)
{
    StatementCache::forget(db.connectionName());
    db.close();
}

QSqlDatabase openConnection(const QString &alias)
{
    const QString path = Database::path(alias);
    const QString name = connectionName(alias);
    const bool readOnly = Database::isReadOnly(alias);
    if (PgUri::isUri(path))
        return PgDatabase::open(name, path,
                                readOnly ? PgDatabase::Access::ReadOnly
                                         : PgDatabase::Access::ReadWrite);
    QSqlDatabase db = sqliteConnection(name);
    if (readOnly) {
        checkReadable(path);
        SqliteBook::openReadOnly(db, path);
        return db;
    }
    checkMayCreate(alias, path);
    // Made here rather than by the engine, so that the book is private from its first byte.
    const bool created = PrivateFiles::createEmpty(path);
    try {
        SqliteBook::open(db, path);
    } catch (...) {
        if (created) {
            dropConnection(name);
            PrivateFiles::removeBook(path);
        }
        throw;
    }
    return db;
}

} // namespace

QSqlDatabase Database::connection(const QString &alias)
{
    const QString name = connectionName(alias);
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    return openConnection(alias);
}

void Database::setPath(const QString &alias, const QString &path)
{
    Schema::forgetStoredColumns();
    dropConnection(connectionName(alias));
    readOnlyAliases().remove(alias);
    if (path.isEmpty())
        aliasPaths().remove(alias);
    else
        aliasPaths().insert(alias, path);
}

QString Database::path(const QString &alias)
{
    const QString configured = aliasPaths().value(alias);
    if (!configured.isEmpty() || alias != QLatin1String(DefaultAlias))
        return configured;
    return defaultPath();
}

QString Database::defaultPath()
{
    const QString fromEnvironment = pathFromEnvironment();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString fromSettings = pathFromSettings();
    if (!fromSettings.isEmpty())
        return fromSettings;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/tradebook/tradebook.db");
}

Database::PathSource Database::pathSource(const QString &alias)
{
    if (aliasPaths().contains(alias) || alias != QLatin1String(DefaultAlias))
        return PathSource::Program;
    if (!pathFromEnvironment().isEmpty())
        return PathSource::Environment;
    if (!pathFromSettings().isEmpty())
        return PathSource::Settings;
    return PathSource::Default;
}

Database::FileState Database::fileState(const QString &alias)
{
    if (PgUri::isUri(path(alias)))
        return FileState::Exists; // a server: whether it answers is known on connecting
    const QFileInfo file(path(alias));
    if (file.isDir())
        return FileState::IsFolder;
    if (isEmptyFile(file))
        return FileState::Empty;
    if (file.exists())
        return FileState::Exists;
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return FileState::FolderMissing;
    return folder.isWritable() ? FileState::Missing : FileState::FolderNotWritable;
}

void Database::allowCreate(const QString &alias)
{
    creatablePaths().insert(alias, path(alias));
}

void Database::openReadOnly(const QString &alias)
{
    dropConnection(connectionName(alias));
    readOnlyAliases().insert(alias);
}

bool Database::isReadOnly(const QString &alias)
{
    return readOnlyAliases().contains(alias);
}

QString Database::connectionString(const QString &alias)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;"
                          "Persist Security Info=False")
        .arg(PgUri::isUri(path(alias)) ? path(alias) : QDir::toNativeSeparators(path(alias)));
}

QString Database::pathFromConnectionString(const QString &connectionString)
{
    for (const QString &part : connectionString.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("Data Source"),
                                                      Qt::CaseInsensitive) == 0) {
            const QString source = part.mid(eq + 1).trimmed();
            return PgUri::isUri(source) ? source : QDir::fromNativeSeparators(source);
        }
    }
    return {};
}

QSqlDatabase Database::connectionFor(const QString &connectionString)
{
    const QString file = pathFromConnectionString(connectionString);
    if (file.isEmpty())
        throw DatabaseError(QStringLiteral("The connection string names no database file."));
    const QString wanted = bookLocation(file);
    QStringList aliases = aliasPaths().keys();
    aliases.prepend(QLatin1String(DefaultAlias));
    for (const QString &alias : aliases)
        if (bookLocation(path(alias)) == wanted)
            return connection(alias);
    const QString alias = QStringLiteral("file:") + wanted;
    aliasPaths().insert(alias, wanted);
    return connection(alias);
}

void Database::closeAll()
{
    Schema::forgetStoredColumns();
    for (const QString &name : QSqlDatabase::connectionNames())
        if (name.startsWith(ConnectionPrefix))
            dropConnection(name);
}

void Database::reopenIfLost(const QSqlDatabase &db)
{
    if (db.isOpen() || !PgDatabase::isPostgres(db)
        || !db.connectionName().startsWith(ConnectionPrefix))
        return;
    // A transaction open on the lost session went with it: what follows in it must not run
    // on a new session, outside it. Ending the guards undoes what their record sets did.
    if (Transaction::isOpen(db))
        throw DatabaseError(lostConnectionMessage(db));
    StatementCache::forget(db.connectionName());
    openConnection(db.connectionName().mid(ConnectionPrefix.size()));
}

QString Database::errorText(const QSqlError &error, const QSqlDatabase &db)
{
    const QString message = userMessage(error, db);
    if (isConnectionLost(error, db))
        letGoOf(db);
    return message;
}

void Database::prepareWrite(QSqlDatabase db)
{
    if (db.driverName() == QLatin1String("QSQLITE"))
        SqliteBook::prepareWrite(db);
}

int Database::generation(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QSQLITE") ? SqliteBook::generation(db) : 0;
}

QSqlQuery Database::exec(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    reopenIfLost(db);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (values.isEmpty()) {
        // Sent as it is: a server cannot prepare every statement (SET, CREATE ...).
        StatementCounter::add();
        if (!query.exec(sql))
            throw DatabaseError(errorText(query.lastError(), db),
                                query.lastError().nativeErrorCode());
        return query;
    }
    // A server prepares, executes and releases a one-off statement: three round trips.
    StatementCounter::add(PgDatabase::isPostgres(db) ? 3 : 1);
    if (!query.prepare(sql))
        throw DatabaseError(errorText(query.lastError(), db),
                            query.lastError().nativeErrorCode());
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw DatabaseError(errorText(query.lastError(), db),
                            query.lastError().nativeErrorCode());
    return query;
}

} // namespace tb
