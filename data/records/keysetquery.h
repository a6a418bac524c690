#pragma once

#include "data/records/keyfilter.h"
#include "data/records/tablelayout.h"

#include <QHash>
#include <QSqlQuery>

#include <vector>

namespace tb {

// The reading statements of a table cursor: each is one indexed query in the order's
// columns plus the row identity (keyset navigation), limited to the rows a filter lets
// through, with every value bound. A bookmark is the order's keys followed by the identity
// columns the order lacks (the layout's tie columns).
class KeysetQuery
{
public:
    struct Row
    {
        QVariantList bookmark;    // order keys, then the tie columns
        QVector<QVariant> values; // by field index; derived fields null
        QVariantList identity;    // the identity columns, stored form
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
    // The row a bookmark names: the same identity and, where the identity is only a row
    // id (which the database hands out again after a deletion), the same order keys.
    Rows byBookmark(const KeyFilter &filter, const QVariantList &bookmark) const;

    // The stored keys of a row with these field values; a key column that is no field
    // keeps its previous key.
    QVariantList keysFor(const QVector<QVariant> &values, const QVariantList &previous) const;
    // The identity of a row with these values; a column that is no field (the row id)
    // keeps its previous value.
    QVariantList identityFor(const QVector<QVariant> &values,
                             const QVariantList &previous) const;
    QVariantList bookmarkFor(const QVector<QVariant> &values, const QVariantList &previousKeys,
                             const QVariantList &identity) const;
    // The identity a bookmark holds; empty when the bookmark is of another layout.
    QVariantList identityOf(const QVariantList &bookmark) const;

private:
    QString orderBy(bool forward) const;
    Rows run(const sqlterms::Where &where, bool forward, int limit) const;
    QVariantList tieValues(const QVariantList &identity) const;
    TableLayout m_layout;
    bool m_postgres = false;
    QString m_select;
};

} // namespace tb
