#include "data/keyedpager.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/schema.h"
#include "data/sqlterms.h"

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
}

void KeyedPager::clear()
{
    m_statements.clear();
    m_db = QSqlDatabase();
    m_sql.clear();
    m_binds.clear();
    m_key.clear();
    m_keyIndex = -1;
    m_record = QSqlRecord();
}

QSqlRecord KeyedPager::readRecord() const
{
    QSqlQuery &query = statement(QStringLiteral("SELECT * FROM (%1) tb_result LIMIT 0")
                                     .arg(m_sql));
    for (int i = 0; i < m_binds.size(); ++i)
        query.bindValue(i, m_binds.at(i));
    if (!query.exec())
        throw DatabaseError(Database::errorText(query.lastError(), m_db));
    QSqlRecord columns = query.record();
    query.finish();
    return columns;
}

QString KeyedPager::pageSql(const QString &where, bool forward, int limit) const
{
    QString sql = QStringLiteral("SELECT * FROM (%1) tb_result").arg(m_sql);
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql += QLatin1String(" ORDER BY ") + quoteName(m_key)
           + (forward ? QString() : QStringLiteral(" DESC"));
    if (limit > 0)
        sql += QLatin1String(" LIMIT ") + QString::number(limit);
    return sql;
}

KeyedPager::Rows KeyedPager::run(const QString &where, const QVariantList &binds, bool forward,
                                 int limit) const
{
    QSqlQuery &query = statement(pageSql(where, forward, limit));
    const QVariantList all = m_binds + binds;
    for (int i = 0; i < all.size(); ++i)
        query.bindValue(i, all.at(i));
    if (!query.exec())
        throw DatabaseError(Database::errorText(query.lastError(), m_db));
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

QSqlQuery &KeyedPager::statement(const QString &sql) const
{
    // Statements prepared before the connection was opened anew are dead.
    const int generation = Database::generation(m_db);
    if (generation != m_generation) {
        m_statements.clear();
        m_generation = generation;
    }
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return *it;
    if (m_statements.size() >= 16)
        m_statements.clear();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DatabaseError(Database::errorText(query.lastError(), m_db));
    return *m_statements.insert(sql, query);
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
    for (const auto &read : reads) {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (!query.prepare(QLatin1String("EXPLAIN QUERY PLAN ")
                           + pageSql(read.where, read.forward, 100)))
            throw DatabaseError(Database::errorText(query.lastError()));
        const QVariantList all = m_binds + read.binds;
        for (int i = 0; i < all.size(); ++i)
            query.bindValue(i, all.at(i));
        if (!query.exec())
            throw DatabaseError(Database::errorText(query.lastError()));
        QStringList steps;
        while (query.next())
            steps << query.value(3).toString();
        plans << QString::fromLatin1(read.label) + QLatin1String(": ")
                     + steps.join(QLatin1String("; "));
    }
    return plans;
}

} // namespace tb
