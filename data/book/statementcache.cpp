#include "data/book/statementcache.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pgdatabase.h"
#include "data/book/statementcounter.h"

#include <QHash>
#include <QSqlError>

#include <list>
#include <unordered_map>

namespace tb {

namespace {

// Enough for every statement the screens of one session send; past it the statement used
// longest ago makes room, so that the ones a screen sends again stay prepared.
constexpr int MaxStatements = 256;

struct Prepared
{
    QString sql;
    QSqlQuery query;
};

// Most recently used first; the index finds a statement by its text.
struct Statements
{
    int generation = -1; // of the connection they were prepared on (see Database)
    std::list<Prepared> byUse;
    QHash<QString, std::list<Prepared>::iterator> index;

    void clear()
    {
        index.clear();
        byUse.clear();
    }
};

// Per connection name. Statements never move, nor are copied: the index points into them.
std::unordered_map<QString, Statements> &cache()
{
    static std::unordered_map<QString, Statements> statements;
    return statements;
}

// A server releases each statement in a round trip of its own.
void release(Statements &statements, bool server)
{
    if (server)
        StatementCounter::add(int(statements.byUse.size()));
    statements.clear();
}

void releaseLeastRecentlyUsed(Statements &statements, bool server)
{
    if (server)
        StatementCounter::add();
    statements.index.remove(statements.byUse.back().sql);
    statements.byUse.pop_back();
}

} // namespace

QSqlQuery &StatementCache::prepared(const QSqlDatabase &db, const QString &sql)
{
    Database::reopenIfLost(db);
    Statements &statements = cache()[db.connectionName()];
    // Statements prepared before the connection was opened anew are dead.
    const int generation = Database::generation(db);
    if (generation != statements.generation) {
        statements.clear();
        statements.generation = generation;
    }
    const auto found = statements.index.constFind(sql);
    if (found != statements.index.constEnd()) {
        statements.byUse.splice(statements.byUse.begin(), statements.byUse, *found);
        return (*found)->query;
    }
    const bool server = PgDatabase::isPostgres(db);
    if (int(statements.byUse.size()) >= MaxStatements)
        releaseLeastRecentlyUsed(statements, server);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (server)
        StatementCounter::add();
    if (!query.prepare(sql))
        throw DatabaseError(Database::errorText(query.lastError(), db));
    statements.byUse.push_front({sql, std::move(query)});
    statements.index.insert(sql, statements.byUse.begin());
    return statements.byUse.front().query;
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
    release(it->second, PgDatabase::isPostgres(db));
    cache().erase(it);
}

} // namespace tb
