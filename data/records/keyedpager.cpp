#include "data/records/keyedpager.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pgdatabase.h"
#include "data/book/schema.h"
#include "data/book/sqlterms.h"
#include "data/book/statementcache.h"

#include <QSqlError>

#include <iterator>

namespace tb {

using namespace sqlterms;

void KeyedPager::setStatement(const QSqlDatabase &db, const QString &sql,
                              const QVariantList &binds, const QString &keyColumn)
{
    clear();
    m_db = db;
    m_sql = sql.trimmed();
    m_binds = binds;
    m_key = keyColumn;
    m_record = readRecord();
    const QSqlRecord &columns = m_record;
    m_keyIndex = columns.indexOf(keyColumn);
    for (int c = 0; c < columns.count() && m_keyIndex < 0; ++c)
        if (columns.fieldName(c).compare(keyColumn, Qt::CaseInsensitive) == 0)
            m_keyIndex = c;
    if (m_keyIndex < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(keyColumn));
    m_key = columns.fieldName(m_keyIndex);
    m_postgres = PgDatabase::isPostgres(m_db);
    if (m_postgres) {
        // A server sorts NULL last unless told, and told so it uses no index of a key column
        // that cannot be NULL: it is told only when some row has no key. A key column's own
        // index answers that at once.
        QSqlQuery &probe = StatementCache::run(
            m_db, QStringLiteral("SELECT 1 FROM (%1) tb_result WHERE %2 IS NULL LIMIT 1")
                      .arg(m_sql, quoted(m_key)), m_binds);
        m_nullKeys = probe.next();
        probe.finish();
    }
}

void KeyedPager::clear()
{
    m_db = QSqlDatabase();
    m_sql.clear();
    m_binds.clear();
    m_key.clear();
    m_keyIndex = -1;
    m_record = QSqlRecord();
    m_postgres = false;
    m_nullKeys = false;
}

QSqlRecord KeyedPager::readRecord() const
{
    QSqlQuery &query = StatementCache::run(
        m_db, QStringLiteral("SELECT * FROM (%1) tb_result LIMIT 0").arg(m_sql), m_binds);
    QSqlRecord columns = query.record();
    query.finish();
    return columns;
}

// The limit, when there is one, is the last value bound: every page size is then one
// prepared statement.
QString KeyedPager::pageSql(const QString &where, bool forward, int limit) const
{
    QString sql = QStringLiteral("SELECT * FROM (%1) tb_result").arg(m_sql);
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql += QLatin1String(" ORDER BY ") + orderTerm(m_key, forward, m_nullKeys, m_postgres);
    if (limit > 0)
        sql += QLatin1String(" LIMIT ?");
    return sql;
}

QVariantList KeyedPager::pageBinds(const QVariantList &binds, int limit) const
{
    QVariantList all = m_binds + binds;
    if (limit > 0)
        all << limit;
    return all;
}

KeyedPager::Rows KeyedPager::run(const QString &where, const QVariantList &binds, bool forward,
                                 int limit) const
{
    QSqlQuery &query = StatementCache::run(m_db, pageSql(where, forward, limit),
                                           pageBinds(binds, limit));
    Rows rows;
    const int columns = query.record().count();
    while (query.next()) {
        Row row;
        row.values.resize(columns);
        for (int c = 0; c < columns; ++c)
            row.values[c] = query.value(c);
        row.key = row.values.value(m_keyIndex);
        rows.push_back(std::move(row));
    }
    query.finish();
    return rows;
}

KeyedPager::Rows KeyedPager::fromEnd(bool forward, int limit) const
{
    return run({}, {}, forward, limit);
}

KeyedPager::Rows KeyedPager::from(const QVariant &key, bool forward, int limit) const
{
    QVariantList binds;
    if (forward)
        return run(gtTerm(m_key, key, binds), binds, true, limit);
    if (isNull(key))
        return {};
    // Rows without a key come first in the order. One statement asking for "key < ? OR key
    // IS NULL" would walk the index from the end down to the key, so the rows before a key
    // are read as two index searches: the lower keys, then the rows without one.
    Rows rows = run(quoted(m_key) + QLatin1String(" < ?"), {key}, false, limit);
    const int missing = limit - int(rows.size());
    if (limit <= 0 || missing > 0) {
        Rows unkeyed = run(quoted(m_key) + QLatin1String(" IS NULL"), {}, false,
                           limit <= 0 ? 0 : missing);
        std::move(unkeyed.begin(), unkeyed.end(), std::back_inserter(rows));
    }
    return rows;
}

KeyedPager::Rows KeyedPager::equal(const QStringList &columns, const QVariantList &values) const
{
    QVariantList binds;
    QStringList terms;
    for (int i = 0; i < columns.size(); ++i)
        terms << eqTerm(columns[i], values.value(i), binds);
    return run(terms.join(QLatin1String(" AND ")), binds, true, 1);
}

QStringList KeyedPager::plans() const
{
    const QString key = quoted(m_key);
    const struct
    {
        const char *label;
        QString where;
        bool forward;
        QVariantList binds;
    } reads[] = {
        {"first", {}, true, {}},
        {"last", {}, false, {}},
        {"after", key + QLatin1String(" > ?"), true, {QString()}},
        {"before", key + QLatin1String(" < ?"), false, {QString()}},
        {"unkeyed", key + QLatin1String(" IS NULL"), false, {}},
        {"equal", key + QLatin1String(" = ?"), true, {QString()}},
    };
    QStringList plans;
    for (const auto &read : reads)
        plans << QString::fromLatin1(read.label) + QLatin1String(": ")
                     + plan(m_db, pageSql(read.where, read.forward, 100),
                            pageBinds(read.binds, 100));
    return plans;
}

namespace {

// A server explains no statement it is asked to prepare, and its plan for the values of a
// search is no plan for the next one: it explains its generic plan of the statement, for
// any values (NULL stands in for each, pasting nothing).
QString serverPlan(const QSqlDatabase &db, const QString &sql, int values)
{
    QStringList nulls;
    for (int i = 0; i < values; ++i)
        nulls << QStringLiteral("NULL");
    // The server numbers its placeholders: $1, $2...
    const QString numbered = rewritePlaceholders(sql, [](int n) {
        return QLatin1Char('$') + QString::number(n + 1);
    });
    Database::exec(db, QStringLiteral("PREPARE tb_plan AS ") + numbered);
    QStringList steps;
    try {
        Database::exec(db, QStringLiteral("SET plan_cache_mode = force_generic_plan"));
        QSqlQuery plan = Database::exec(
            db, QStringLiteral("EXPLAIN EXECUTE tb_plan") + (values > 0
                    ? QLatin1Char('(') + nulls.join(QLatin1String(", ")) + QLatin1Char(')')
                    : QString()));
        while (plan.next())
            steps << plan.value(0).toString().trimmed();
    } catch (...) {
        Database::exec(db, QStringLiteral("DEALLOCATE tb_plan"));
        Database::exec(db, QStringLiteral("RESET plan_cache_mode"));
        throw;
    }
    Database::exec(db, QStringLiteral("DEALLOCATE tb_plan"));
    Database::exec(db, QStringLiteral("RESET plan_cache_mode"));
    return steps.join(QLatin1String("; "));
}

} // namespace

QString KeyedPager::plan(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    if (PgDatabase::isPostgres(db))
        return serverPlan(db, sql, int(binds.size()));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QLatin1String("EXPLAIN QUERY PLAN ") + sql))
        throw DatabaseError(Database::errorText(query.lastError(), db));
    for (int i = 0; i < binds.size(); ++i)
        query.bindValue(i, binds.at(i));
    if (!query.exec())
        throw DatabaseError(Database::errorText(query.lastError(), db));
    QStringList steps;
    while (query.next())
        steps << query.value(3).toString();
    return steps.join(QLatin1String("; "));
}

} // namespace tb
