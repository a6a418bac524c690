#pragma once

#include "data/keyfilter.h"
#include "data/tablelayout.h"

#include <QHash>
#include <QSqlQuery>

#include <vector>

namespace tb {

// The reading statements of a table cursor: each is one indexed query in the order's
// columns plus the row identity (keyset navigation), limited to the rows a filter lets
// through, with every value bound.
class KeysetQuery
{
public:
    struct Row
    {
        QVariantList bookmark;    // order keys, then the row id
        QVector<QVariant> values; // by field index; derived fields null
        qint64 rowid = 0;
        QVariantList keys;        // filter columns, stored form
    };
    using Rows = std::vector<Row>;

    void setLayout(const TableLayout &layout);
    const TableLayout &layout() const { return m_layout; }
    void clear();

    // From the first row (forward) or the last (backward); limit 0 reads them all.
    Rows fromEnd(const KeyFilter &filter, bool forward, int limit) const;
    // The rows after (forward) or before an anchor bookmark, nearest first.
    Rows from(const KeyFilter &filter, const QVariantList &anchor, bool forward,
              int limit) const;
    // The first row whose columns equal the stored values.
    Rows equal(const KeyFilter &filter, const QStringList &columns,
               const QVariantList &values) const;
    Rows byRowid(const KeyFilter &filter, const QVariant &rowid) const;

    // The stored keys of a row with these field values; a key column that is no field
    // keeps its previous key.
    QVariantList keysFor(const QVector<QVariant> &values, const QVariantList &previous) const;
    QVariantList bookmarkFor(const QVector<QVariant> &values, const QVariantList &previous,
                             qint64 rowid) const;

private:
    QString orderBy(bool forward) const;
    Rows run(const sqlterms::Where &where, bool forward, int limit) const;
    // The prepared statement for a text, prepared once per layout: preparing costs as
    // much as SQLite's own indexed lookup.
    QSqlQuery &statement(const QString &sql) const;
    static constexpr int MaxStatements = 32;

    TableLayout m_layout;
    QString m_select;
    mutable QHash<QString, QSqlQuery> m_statements;
};

} // namespace tb
