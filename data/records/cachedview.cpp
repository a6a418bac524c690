#include "data/records/cachedview.h"

#include "data/book/database.h"
#include "data/book/transaction.h"
#include "data/book/errors.h"
#include "data/records/field.h"
#include "data/book/fieldvalue.h"
#include "data/records/keysetquery.h"
#include "data/records/rowwriter.h"

#include <algorithm>

namespace tb {

namespace {

// Rows with equal keys: the stored ones by identity, as the table reads them, then the
// rows only in the cache, in the order they were added.
int tieBreak(const CachedRows::Row &a, const CachedRows::Row &b)
{
    if (a.identity.isEmpty() != b.identity.isEmpty())
        return a.identity.isEmpty() ? 1 : -1;
    if (a.identity.isEmpty())
        return a.id == b.id ? 0 : (a.id > b.id ? -1 : 1); // inserted ids count down
    for (int i = 0; i < a.identity.size() && i < b.identity.size(); ++i)
        if (const int c = fieldvalue::compareStored(a.identity[i], b.identity[i]))
            return c;
    return 0;
}

CachedRows::Match matching(const KeyFilter &filter)
{
    return [filter](const CachedRows::Row &row) { return filter.accepts(row.keys); };
}

} // namespace

CachedRows::Less CachedView::less() const
{
    const int n = int(m_query.layout().orderCols.size());
    return [n](const CachedRows::Row &a, const CachedRows::Row &b) {
        for (int i = 0; i < n; ++i)
            if (const int c = fieldvalue::compareStored(a.keys.value(i), b.keys.value(i)))
                return c < 0;
        return tieBreak(a, b) < 0;
    };
}

void CachedView::reload(const KeyFilter &filter)
{
    std::vector<CachedRows::Row> stored;
    for (KeysetQuery::Row &f : m_query.fromEnd(filter, true, 0)) {
        CachedRows::Row row;
        row.identity = std::move(f.identity);
        row.values = std::move(f.values);
        row.keys = std::move(f.keys);
        stored.push_back(std::move(row));
    }
    m_rows.load(std::move(stored), matching(filter), less());
}

int CachedView::after(qint64 id) const
{
    const int pos = m_rows.position(id);
    if (pos >= 0)
        return pos + 1;
    const CachedRows::Row *row = m_rows.find(id);
    return row ? m_rows.upperBound(*row, less()) : -1;
}

int CachedView::before(qint64 id) const
{
    const int pos = m_rows.position(id);
    if (pos >= 0)
        return pos - 1;
    const CachedRows::Row *row = m_rows.find(id);
    return row ? m_rows.lowerBound(*row, less()) - 1 : -1;
}

int CachedView::locate(const QList<Field *> &fields, const QVariantList &values) const
{
    for (int pos = 0; pos < m_rows.count(); ++pos) {
        const CachedRows::Row &row = m_rows.at(pos);
        bool equal = true;
        for (int i = 0; i < fields.size() && equal; ++i) {
            const FieldType t = fields[i]->DataType();
            equal = fieldvalue::compareStored(
                        fieldvalue::toStorage(t, row.values.value(fields[i]->Index())),
                        fieldvalue::toStorage(t, values[i])) == 0;
        }
        if (equal)
            return pos;
    }
    return -1;
}

int CachedView::findKey(const QVariantList &keys) const
{
    using sqlterms::isNull;
    for (int pos = 0; pos < m_rows.count(); ++pos) {
        const CachedRows::Row &row = m_rows.at(pos);
        bool equal = true;
        for (int i = 0; i < keys.size() && equal; ++i)
            equal = !isNull(keys[i]) ? fieldvalue::compareStored(row.keys[i], keys[i]) == 0
                                     : isNull(row.keys[i]);
        if (equal)
            return pos;
    }
    return -1;
}

std::pair<int, int> CachedView::page(const QVariant &anchor, int count, bool forward) const
{
    if (anchor.isNull()) {
        if (forward)
            return {0, std::min(count, m_rows.count())};
        return {std::max(0, m_rows.count() - count), m_rows.count()};
    }
    const CachedRows::Row *row = m_rows.find(anchor.toLongLong());
    if (!row)
        return {0, 0};
    if (forward) {
        const int from = m_rows.upperBound(*row, less());
        return {from, std::min(from + count, m_rows.count())};
    }
    const int to = m_rows.lowerBound(*row, less());
    return {std::max(0, to - count), to};
}

int CachedView::compare(qint64 a, qint64 b) const
{
    const CachedRows::Row *ra = m_rows.find(a);
    const CachedRows::Row *rb = m_rows.find(b);
    if (!ra || !rb)
        return 0;
    const auto lessThan = less();
    return lessThan(*ra, *rb) ? -1 : (lessThan(*rb, *ra) ? 1 : 0);
}

qint64 CachedView::insert(const QVector<QVariant> &values, const KeyFilter &filter)
{
    const qint64 id = m_rows.insert(values, m_query.keysFor(values, {}));
    m_rows.rebuildView(matching(filter), less());
    return id;
}

void CachedView::update(qint64 id, const QVector<QVariant> &values, const KeyFilter &filter)
{
    const CachedRows::Row *row = m_rows.find(id);
    if (!row)
        throw DatabaseError(QStringLiteral("Record not found"));
    const QVariantList keys = m_query.keysFor(values, row->keys);
    const bool moved = keys != row->keys;
    m_rows.update(id, values, keys);
    if (moved) // a line whose keys stay keeps its place; no need to sort again
        m_rows.rebuildView(matching(filter), less());
}

void CachedView::remove(qint64 id)
{
    if (!m_rows.find(id))
        throw DatabaseError(QStringLiteral("Record not found"));
    m_rows.remove(id);
}

void CachedView::apply(const RowWriter &writer)
{
    {
        // Inside the caller's transaction when one is open (the header being saved): a line
        // refused here undoes the lines alone, and the caller decides about the rest.
        Transaction transaction(writer.database());
        // Deletions and insertions go in batches: a save of many lines costs a server a
        // round trip or two, not one per line.
        std::vector<QVariantList> deleted;
        for (const CachedRows::Row *row : m_rows.pendingRows(CachedRows::Status::Deleted))
            deleted.push_back(row->identity);
        writer.removeMany(deleted);
        for (const CachedRows::Row *row : m_rows.pendingRows(CachedRows::Status::Modified))
            writer.update(row->identity, row->original, row->values);
        auto inserted = m_rows.pendingRows(CachedRows::Status::Inserted);
        std::sort(inserted.begin(), inserted.end(),
                  [](const CachedRows::Row *a, const CachedRows::Row *b) {
                      return a->id > b->id;
                  });
        std::vector<QVector<QVariant>> rows;
        for (const CachedRows::Row *row : inserted)
            rows.push_back(row->values);
        writer.insertMany(rows);
        transaction.commit();
    }
    m_rows.clear();
}

} // namespace tb
