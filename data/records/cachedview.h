#pragma once

#include "data/records/cachedrows.h"
#include "data/records/keyfilter.h"

#include <QList>

#include <utility>

namespace tb {

class Field;
class KeysetQuery;
class RowWriter;

// A table cursor's rows in cached-updates mode: the stored rows its filter lets through plus
// its pending changes, in the cursor's order, addressed by cache id. Positions run over the
// view; a position outside [0, count()) means "no row".
class CachedView
{
public:
    // Reads through the cursor's query, whose layout may change between calls.
    explicit CachedView(const KeysetQuery &query) : m_query(query) {}

    void reload(const KeyFilter &filter);
    void clear() { m_rows.clear(); }

    int count() const { return m_rows.count(); }
    const CachedRows::Row &at(int position) const { return m_rows.at(position); }
    int position(qint64 id) const { return m_rows.position(id); }
    // Positions next to a row, which may have left the view; -1 when the row is unknown.
    int after(qint64 id) const;
    int before(qint64 id) const;
    int locate(const QList<Field *> &fields, const QVariantList &values) const;
    int findKey(const QVariantList &keys) const; // stored form, leading order columns
    // Up to count positions next to an anchor (null: from an end), as [from, to).
    std::pair<int, int> page(const QVariant &anchor, int count, bool forward) const;
    int compare(qint64 a, qint64 b) const;

    qint64 insert(const QVector<QVariant> &values, const KeyFilter &filter);
    void update(qint64 id, const QVector<QVariant> &values, const KeyFilter &filter);
    void remove(qint64 id);

    bool pending() const { return m_rows.pending(); }
    // Writes the pending deletions, edits and insertions in one transaction (a savepoint
    // in the caller's when one is open) and forgets them once it is through. A failure
    // writes nothing and keeps them all.
    void apply(const RowWriter &writer);

    // The rows as they are, to be put back when a transaction that wrote them rolls back.
    const CachedRows &rows() const { return m_rows; }
    void restore(const CachedRows &rows) { m_rows = rows; }

private:
    CachedRows::Less less() const;

    const KeysetQuery &m_query;
    CachedRows m_rows;
};

} // namespace tb
