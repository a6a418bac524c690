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

struct Statements
{
    int generation = -1; // of the connection they were prepared on (see Database)
    QHash<QString, QSqlQuery> queries;
};

QHash<QString, Statements> &cache()
{
    static QHash<QString, Statements> statements;
    return statements;
}

void release(Statements &statements, bool server)
{
    if (server)
        StatementCounter::add(int(statements.queries.size()));
    statements.queries.clear();
}

} // namespace

QSqlQuery &StatementCache::prepared(const QSqlDatabase &db, const QString &sql)
{
    Statements &statements = cache()[db.connectionName()];
    // Statements prepared before the connection was opened anew are dead.
    const int generation = Database::generation(db);
    if (generation != statements.generation) {
        statements.queries.clear();
        statements.generation = generation;
    }
    auto it = statements.queries.find(sql);
    if (it != statements.queries.end())
        return *it;
    const bool server = PgDatabase::isPostgres(db);
    if (statements.queries.size() >= MaxStatements)
        release(statements, server);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (server)
        StatementCounter::add();
    if (!query.prepare(sql))
        throw DatabaseError(Database::errorText(query.lastError(), db));
    return *statements.queries.insert(sql, query);
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
