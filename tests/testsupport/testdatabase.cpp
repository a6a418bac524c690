#include "testsupport/testdatabase.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"
#include "data/book/schema.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace tb::test {

namespace {

const QString AdminConnection = QStringLiteral("tradebook-test-admin");

// Runs statements on a connection of the test's own, outside the registry.
void adminExec(const QString &uri, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), AdminConnection);
        PgUri::parse(uri).applyTo(db);
        if (!db.open())
            throw DatabaseError(QStringLiteral("test server: ") + db.lastError().text());
        for (const QString &sql : statements) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                throw DatabaseError(sql + QStringLiteral(": ") + q.lastError().text());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(AdminConnection);
}

// The server's URI with another database name.
QString withDatabase(const QString &server, const QString &name)
{
    const PgUri uri = PgUri::parse(server);
    QString text = QStringLiteral("postgresql://");
    if (!uri.user().isEmpty())
        text += uri.user() + QLatin1Char('@');
    const bool socket = uri.host().isEmpty() || uri.host().startsWith(QLatin1Char('/'));
    if (!socket)
        text += uri.host();
    if (uri.port() > 0 && !socket)
        text += QLatin1Char(':') + QString::number(uri.port());
    text += QLatin1Char('/') + name;
    QStringList params;
    if (socket && !uri.host().isEmpty())
        params << QStringLiteral("host=") + uri.host();
    if (socket && uri.port() > 0)
        params << QStringLiteral("port=") + QString::number(uri.port());
    if (!params.isEmpty())
        text += QLatin1Char('?') + params.join(QLatin1Char('&'));
    return text;
}

} // namespace

bool TestDatabase::onServer()
{
    return !serverUri().isEmpty();
}

void TestDatabase::preferIndexes()
{
    if (!onServer())
        return;
    Database::exec(Database::connection(), QStringLiteral("SET enable_seqscan = off"));
    Database::exec(Database::connection(), QStringLiteral("SET enable_sort = off"));
}

QString TestDatabase::serverUri()
{
    return qEnvironmentVariable("TRADEBOOK_TEST_POSTGRES");
}

QString TestDatabase::emptyServerDatabase(const QString &suffix)
{
    QString program = QCoreApplication::applicationName().toLower();
    program.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    const QString name = QStringLiteral("test_") + program + suffix;
    const QString server = serverUri();
    static QStringList made;
    if (!made.contains(name)) {
        // Left over from an earlier run, or new: either way it starts empty.
        adminExec(server, {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name),
                           QStringLiteral("CREATE DATABASE %1").arg(name)});
        made << name;
    }
    const QString uri = withDatabase(server, name);
    // The tests read lists back with SQLite's group_concat (text joined by commas, nulls
    // left out): the server gets the same aggregate.
    adminExec(uri, {QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"),
                    QStringLiteral("CREATE SCHEMA public"),
                    QStringLiteral("CREATE FUNCTION tb_join(text, text) RETURNS text "
                                   "LANGUAGE sql IMMUTABLE STRICT AS $$ SELECT $1 || ',' || $2 $$"),
                    QStringLiteral("CREATE AGGREGATE group_concat(text) "
                                   "(SFUNC = tb_join, STYPE = text)")});
    return uri;
}

TestDatabase::TestDatabase()
{
    m_path = onServer() ? emptyServerDatabase() : m_dir.filePath(QStringLiteral("test.db"));
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), m_path);
    Database::connection(); // creates the schema
}

TestDatabase::~TestDatabase()
{
    Database::closeAll();
}

QString TestDatabase::path() const
{
    return m_path;
}

void TestDatabase::exec(const QString &sql, const QVariantList &values) const
{
    Database::exec(Database::connection(), sql, values);
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = Database::exec(Database::connection(), sql, values);
    return q.next() ? q.value(0) : QVariant();
}

int TestDatabase::count(const QString &table) const
{
    const QSqlDatabase db = Database::connection();
    return scalar(QStringLiteral("SELECT count(*) FROM %1")
                      .arg(quoteName(Schema::sqlName(db, table))))
        .toInt();
}

void TestDatabase::refuse(const QString &name, const QString &event, const QString &table,
                          const QString &condition, const QString &message) const
{
    QString quotedMessage = message;
    quotedMessage.replace(QLatin1Char('\''), QLatin1String("''"));
    quotedMessage = QLatin1Char('\'') + quotedMessage + QLatin1Char('\'');
    if (!onServer()) {
        exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, %5); "
                            "END")
                 .arg(name, event, table,
                      condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition,
                      quotedMessage));
        return;
    }
    exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN "
                        "IF %2 THEN RAISE EXCEPTION %3; END IF; "
                        "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $f$")
             .arg(name, condition.isEmpty() ? QStringLiteral("TRUE") : condition,
                  quotedMessage));
    exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
             .arg(name, event, table));
}

void TestDatabase::dropRefusal(const QString &name, const QString &table) const
{
    if (!onServer()) {
        exec(QStringLiteral("DROP TRIGGER %1").arg(name));
        return;
    }
    exec(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table));
    exec(QStringLiteral("DROP FUNCTION %1()").arg(name));
}

void TestDatabase::seedQuote(const QString &id, const QStringList &lines) const
{
    exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID, QuoteDate, CustomerID) "
                        "VALUES (?, '2024-05-01', 'CU000001')"),
         {id});
    for (const QString &line : lines) {
        const QStringList v = line.split(QLatin1Char(':'));
        exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, "
                            "ProductID, Quantity, Price) VALUES (?, ?, ?, ?, ?, ?)"),
             {id, v[0], v[1], v[2], v[3].toInt(), v[4].toInt()});
    }
}

} // namespace tb::test
