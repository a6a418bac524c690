#include "data/statementcache.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/pgdatabase.h"
#include "data/statementcounter.h"

#include <QHash>
#include <QSqlError>

namespace tb {

namespace {

// Enough for every statement the screens of one session send; past it the cache starts over
// rather than growing without bound.
constexpr int MaxStatements = 256;

using Statements = QHash<QString, QSqlQuery>;

QHash<QString, Statements> &cache()
{
    static QHash<QString, Statements> statements;
    return statements;
}

void release(Statements &statements, bool server)
{
    if (server)
        StatementCounter::add(int(statements.size()));
    statements.clear();
}

} // namespace

QSqlQuery &StatementCache::prepared(const QSqlDatabase &db, const QString &sql)
{
    Statements &statements = cache()[db.connectionName()];
    auto it = statements.find(sql);
    if (it != statements.end())
        return *it;
    const bool server = PgDatabase::isPostgres(db);
    if (statements.size() >= MaxStatements)
        release(statements, server);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (server)
        StatementCounter::add();
    if (!query.prepare(sql))
        throw DatabaseError(Database::errorText(query.lastError(), db));
    return *statements.insert(sql, query);
}

QSqlQuery &StatementCache::run(const QSqlDatabase &db, const QString &sql,
                               const QVariantList &values)
{
    QSqlQuery &query = prepared(db, sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    StatementCounter::add();
    if (!query.exec())
        throw DatabaseError(Database::errorText(query.lastError(), db));
    return query;
}

void StatementCache::forget(const QString &connectionName)
{
    auto it = cache().find(connectionName);
    if (it == cache().end())
        return;
    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    release(*it, PgDatabase::isPostgres(db));
    cache().erase(it);
}

} // namespace tb
