#include "data/records/keysetquery.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/book/pgdatabase.h"
#include "data/book/statementcache.h"

#include <QSqlQuery>

namespace tb {

using namespace sqlterms;

void KeysetQuery::setLayout(const TableLayout &layout)
{
    m_layout = layout;
    m_postgres = PgDatabase::isPostgres(m_layout.db);
    QStringList parts;
    for (const QString &c : m_layout.identityCols)
        parts << quoted(c);
    for (const QString &c : m_layout.filterCols)
        parts << quoted(c);
    for (const QString &c : m_layout.fieldCol)
        if (!c.isEmpty())
            parts << quoted(c);
    m_select = QStringLiteral("SELECT %1 FROM %2").arg(parts.join(QLatin1String(", ")),
                                                       quoteName(m_layout.table));
}

void KeysetQuery::clear()
{
    m_layout = TableLayout();
    m_select.clear();
}

QString KeysetQuery::orderBy(bool forward) const
{
    QStringList parts;
    const bool keyed = !m_layout.identityIsRowId();
    for (const QString &c : m_layout.orderCols + m_layout.tieCols)
        parts << orderTerm(c, forward, !(keyed && m_layout.identityCols.contains(c)),
                           m_postgres);
    return parts.join(QLatin1String(", "));
}

namespace {

// Keys as SQLite hands them out (a server hands a date column out as a date): bookmarks
// and cached rows then compare alike on both engines.
QVariant storedKey(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

} // namespace

KeysetQuery::Rows KeysetQuery::run(const Where &s, bool forward, int limit) const
{
    QString sql = m_select;
    if (!s.terms.isEmpty())
        sql += QLatin1String(" WHERE ") + s.terms.join(QLatin1String(" AND "));
    sql += QLatin1String(" ORDER BY ") + orderBy(forward);
    QVariantList binds = s.binds;
    if (limit > 0) {
        // Bound rather than written in: every page size is then one prepared statement.
        sql += QLatin1String(" LIMIT ?");
        binds << limit;
    }
    QSqlQuery &query = StatementCache::run(m_layout.db, sql, binds);
    Rows result;
    const int nIdentity = int(m_layout.identityCols.size());
    const int nFilter = int(m_layout.filterCols.size());
    const QVector<QString> &fieldCol = m_layout.fieldCol;
    while (query.next()) {
        Row f;
        int pos = 0;
        for (int i = 0; i < nIdentity; ++i)
            f.identity << storedKey(query.value(pos++));
        for (int i = 0; i < nFilter; ++i)
            f.keys << storedKey(query.value(pos++));
        f.bookmark = f.keys.mid(0, m_layout.orderCols.size()) + tieValues(f.identity);
        f.values = QVector<QVariant>(fieldCol.size());
        for (int i = 0; i < fieldCol.size(); ++i) {
            if (fieldCol[i].isEmpty())
                continue;
            f.values[i] = fieldvalue::fromStorage(m_layout.fieldType[i], query.value(pos++),
                                                  fieldCol[i]);
        }
        result.push_back(std::move(f));
    }
    query.finish(); // releases the read so that writers are not kept waiting
    return result;
}

KeysetQuery::Rows KeysetQuery::fromEnd(const KeyFilter &filter, bool forward, int limit) const
{
    Where s;
    filter.addTo(s);
    return run(s, forward, limit);
}

KeysetQuery::Rows KeysetQuery::from(const KeyFilter &filter, const QVariantList &anchor,
                                    bool forward, int limit) const
{
    const int n = int(m_layout.orderCols.size());
    Where s;
    filter.addTo(s);
    const QStringList cols = m_layout.orderCols + m_layout.tieCols;
    if (anchor.size() != cols.size()) // a bookmark of another order: start from the end
        return run(s, forward, limit);
    const QVariant k0 = n > 0 ? anchor[0] : QVariant(0);
    if (forward) {
        if (n > 0 && !isNull(k0)) {
            s.binds << k0;
            s.add(quoted(cols[0]) + QLatin1String(" >= ?"));
        }
        s.add(lexTerm(cols, anchor, true, false, s.binds));
        return run(s, true, limit);
    }
    if (n == 0 || isNull(k0)) {
        if (n > 0)
            s.add(quoted(cols[0]) + QLatin1String(" IS NULL"));
        s.add(lexTerm(cols, anchor, false, false, s.binds));
        return run(s, false, limit);
    }
    // Backwards: the non-null part through the index, then the rows with a null key.
    Where a = s;
    a.binds << k0;
    a.add(quoted(cols[0]) + QLatin1String(" <= ?"));
    a.add(lexTerm(cols, anchor, false, false, a.binds));
    Rows rows = run(a, false, limit);
    if (limit <= 0 || int(rows.size()) < limit) {
        Where b = s;
        b.add(quoted(cols[0]) + QLatin1String(" IS NULL"));
        Rows more = run(b, false, limit > 0 ? limit - int(rows.size()) : 0);
        rows.insert(rows.end(), more.begin(), more.end());
    }
    return rows;
}

KeysetQuery::Rows KeysetQuery::equal(const KeyFilter &filter, const QStringList &columns,
                                     const QVariantList &values) const
{
    Where s;
    filter.addTo(s);
    for (int i = 0; i < columns.size(); ++i)
        s.add(eqTerm(columns[i], values[i], s.binds));
    return run(s, true, 1);
}

KeysetQuery::Rows KeysetQuery::byBookmark(const KeyFilter &filter,
                                          const QVariantList &bookmark) const
{
    const QVariantList identity = identityOf(bookmark);
    if (identity.isEmpty())
        return {};
    Where s;
    filter.addTo(s);
    for (int i = 0; i < identity.size(); ++i)
        s.add(eqTerm(m_layout.identityCols[i], identity[i], s.binds));
    if (m_layout.identityIsRowId())
        for (int i = 0; i < m_layout.orderCols.size(); ++i)
            s.add(eqTerm(m_layout.orderCols[i], bookmark[i], s.binds));
    return run(s, true, 1);
}

QVariantList KeysetQuery::tieValues(const QVariantList &identity) const
{
    QVariantList values;
    for (const QString &c : m_layout.tieCols)
        values << identity.value(int(m_layout.identityCols.indexOf(c)));
    return values;
}

QVariantList KeysetQuery::identityOf(const QVariantList &bookmark) const
{
    const int n = int(m_layout.orderCols.size());
    if (bookmark.size() != n + m_layout.tieCols.size())
        return {};
    QVariantList identity;
    for (const QString &c : m_layout.identityCols) {
        const int inOrder = int(m_layout.orderCols.indexOf(c));
        identity << (inOrder >= 0 ? bookmark[inOrder]
                                  : bookmark[n + int(m_layout.tieCols.indexOf(c))]);
    }
    return identity;
}

QVariantList KeysetQuery::identityFor(const QVector<QVariant> &values,
                                      const QVariantList &previous) const
{
    QVariantList identity;
    for (int i = 0; i < m_layout.identityCols.size(); ++i) {
        const int f = m_layout.fieldOf(m_layout.identityCols[i]);
        identity << (f >= 0 ? fieldvalue::toStorage(m_layout.fieldType[f], values.value(f))
                            : previous.value(i));
    }
    return identity;
}

QVariantList KeysetQuery::keysFor(const QVector<QVariant> &values,
                                  const QVariantList &previous) const
{
    QVariantList keys;
    for (int i = 0; i < m_layout.filterCols.size(); ++i) {
        const int f = m_layout.fieldOf(m_layout.filterCols[i]);
        if (f >= 0)
            keys << fieldvalue::toStorage(m_layout.fieldType[f], values.value(f));
        else
            keys << previous.value(i);
    }
    return keys;
}

QVariantList KeysetQuery::bookmarkFor(const QVector<QVariant> &values,
                                      const QVariantList &previousKeys,
                                      const QVariantList &identity) const
{
    return keysFor(values, previousKeys).mid(0, m_layout.orderCols.size())
           + tieValues(identity);
}

} // namespace tb
