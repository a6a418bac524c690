#include "data/keyedpager.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/schema.h"
#include "data/sqlterms.h"

#include <QSqlError>

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

KeyedPager::Rows KeyedPager::run(const QString &where, const QVariantList &binds, bool forward,
                                 int limit) const
{
    QString sql = QStringLiteral("SELECT * FROM (%1) tb_result").arg(m_sql);
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql += QLatin1String(" ORDER BY ") + quoteName(m_key)
           + (forward ? QString() : QStringLiteral(" DESC"));
    if (limit > 0)
        sql += QLatin1String(" LIMIT ") + QString::number(limit);
    QSqlQuery &query = statement(sql);
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
    const QString term = forward ? gtTerm(m_key, key, binds) : ltTerm(m_key, key, binds);
    return run(term, binds, forward, limit);
}

KeyedPager::Rows KeyedPager::equal(const QStringList &columns, const QVariantList &values) const
{
    QVariantList binds;
    QStringList terms;
    for (int i = 0; i < columns.size(); ++i)
        terms << eqTerm(columns[i], values.value(i), binds);
    return run(terms.join(QLatin1String(" AND ")), binds, true, 1);
}

} // namespace tb
