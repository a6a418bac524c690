#include "data/book/pgdatabase.h"

#include "data/book/database.h"
#include "data/book/errormessages.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"
#include "data/book/schema.h"
#include "data/book/sqlterms.h"
#include "data/book/transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tb {

namespace {

// Any number that no other program on the server is likely to lock by accident.
constexpr qint64 ProvisioningLock = 0x7472616465626f6f; // "tradeboo"

bool hasNoTables(const QSqlDatabase &db)
{
    QSqlQuery q = Database::exec(db, QStringLiteral(
        "SELECT count(*) FROM pg_catalog.pg_class c "
        "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p')"));
    return q.next() && q.value(0).toInt() == 0;
}

QString connectionFailure(const PgUri &uri, const QSqlError &error)
{
    QString cause = error.databaseText().trimmed();
    if (cause.isEmpty())
        cause = error.text().trimmed();
    return QStringLiteral("無法連線到資料庫伺服器: %1\n%2").arg(uri.displayName(), cause);
}

// The book's tables and columns are all there; a missing one is told with the server and
// what to do.
void verifyTables(const QSqlDatabase &db)
{
    try {
        Schema::verify(db);
    } catch (const MissingPartError &error) {
        throw DatabaseError(missingPartsMessage(db, error.message()));
    }
}

} // namespace

QSqlDatabase PgDatabase::open(const QString &connectionName, const QString &uriText,
                              Access access)
{
    const PgUri uri = PgUri::parse(uriText);
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(DriverName)))
        throw DatabaseError(QStringLiteral(
            "無法連線到資料庫伺服器: %1\n沒有安裝 PostgreSQL 的資料庫驅動程式 "
            "(Debian 套件 libqt6sql6-psql)。").arg(uri.displayName()));
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
        ? QSqlDatabase::database(connectionName, false)
        : QSqlDatabase::addDatabase(QString::fromLatin1(DriverName), connectionName);
    uri.applyTo(db);
    if (!db.open())
        throw DatabaseError(connectionFailure(uri, db.lastError()));
    try {
        // A row another PC holds for longer than this gives the user a message to retry,
        // not a frozen window (SQLite's busy timeout does the same on a file).
        Database::exec(db, QStringLiteral("SET lock_timeout = 5000"));
        if (access == Access::ReadWrite) {
            provision(db);
        } else {
            Database::exec(db, QStringLiteral(
                "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
            verifyBook(db, uri);
        }
    } catch (...) {
        db.close(); // a connection that was refused must not be handed out later
        throw;
    }
    return db;
}

void PgDatabase::provision(const QSqlDatabase &db)
{
    if (!hasNoTables(db)) {
        verifyTables(db);
        return;
    }
    // Two PCs starting on an empty database at once: the second waits for the first and
    // then finds the tables made.
    Transaction transaction(db);
    Database::exec(db, QStringLiteral("SELECT pg_advisory_xact_lock(?)"),
                   {QVariant::fromValue(ProvisioningLock)});
    if (hasNoTables(db))
        Schema::create(db);
    transaction.commit();
    Schema::forgetStoredColumns();
    verifyTables(db);
}

void PgDatabase::verifyBook(const QSqlDatabase &db, const PgUri &uri)
{
    if (hasNoTables(db))
        throw DatabaseError(QStringLiteral("資料庫 %1 裡沒有帳本的資料表,不是帳本的資料庫。\n"
                                           "請確認位址是否正確。").arg(uri.displayName()));
    verifyTables(db);
}

QString PgDatabase::withTextParameters(const QString &sql, const QVariantList &values)
{
    return sqlterms::rewritePlaceholders(sql, [&values](int n) {
        return values.value(n).typeId() == QMetaType::QString ? QStringLiteral("CAST(? AS TEXT)")
                                                               : QStringLiteral("?");
    });
}

bool PgDatabase::isPostgres(const QSqlDatabase &db)
{
    return db.isValid() && db.driverName() == QLatin1String(DriverName);
}

QString PgDatabase::placeOf(const QSqlDatabase &db)
{
    if (!db.isValid())
        return {};
    if (!isPostgres(db))
        return db.databaseName();
    return PgUri::describe(db.hostName(), db.port(), db.databaseName());
}

} // namespace tb
