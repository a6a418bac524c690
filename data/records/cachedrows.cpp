#include "data/records/cachedrows.h"

#include <algorithm>

namespace tb {

namespace {

// One text per identity, for the id table: values of one column come back in one type.
QString identityKey(const QVariantList &identity)
{
    QStringList parts;
    for (const QVariant &v : identity)
        parts << (v.isNull() ? QStringLiteral("-") : QString::number(v.typeId()) + QLatin1Char(':')
                                                         + v.toString());
    return parts.join(QChar(0x1F));
}

} // namespace

void CachedRows::clear()
{
    m_rows.clear();
    m_view.clear();
    m_position.clear();
    m_storedIds.clear();
}

void CachedRows::index()
{
    m_position.clear();
    m_position.reserve(int(m_view.size()));
    for (int i = 0; i < int(m_view.size()); ++i)
        m_position.insert(m_view[size_t(i)], i);
}

void CachedRows::load(std::vector<Row> stored, const Match &match, const Less &less)
{
    // Unchanged rows of other views are not needed any more; pending ones stay, and so
    // do the ids of the rows still held, so that a bookmark outlives a reload.
    QHash<QString, qint64> ids;
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (it->second.status == Status::Unchanged) {
            it = m_rows.erase(it);
            continue;
        }
        if (!it->second.identity.isEmpty())
            ids.insert(identityKey(it->second.identity), it->first);
        ++it;
    }
    for (Row &row : stored) {
        const QString key = identityKey(row.identity);
        qint64 id = ids.value(key, m_storedIds.value(key, 0));
        if (id == 0)
            id = m_nextStoredId++;
        ids.insert(key, id);
        row.id = id;
        if (m_rows.find(id) == m_rows.end())
            m_rows.emplace(id, std::move(row));
    }
    m_storedIds = ids;
    rebuildView(match, less);
}

void CachedRows::rebuildView(const Match &match, const Less &less)
{
    m_view.clear();
    for (const auto &[id, row] : m_rows) {
        if (row.status == Status::Deleted || row.status == Status::Dropped)
            continue;
        if (match(row))
            m_view.push_back(id);
    }
    std::stable_sort(m_view.begin(), m_view.end(), [&](qint64 a, qint64 b) {
        return less(m_rows.at(a), m_rows.at(b));
    });
    index();
}

const CachedRows::Row *CachedRows::find(qint64 id) const
{
    auto it = m_rows.find(id);
    return it == m_rows.end() ? nullptr : &it->second;
}

int CachedRows::position(qint64 id) const
{
    return m_position.value(id, -1);
}

int CachedRows::upperBound(const Row &row, const Less &less) const
{
    auto it = std::upper_bound(m_view.begin(), m_view.end(), row,
                               [&](const Row &r, qint64 id) { return less(r, m_rows.at(id)); });
    return int(it - m_view.begin());
}

int CachedRows::lowerBound(const Row &row, const Less &less) const
{
    auto it = std::lower_bound(m_view.begin(), m_view.end(), row,
                               [&](qint64 id, const Row &r) { return less(m_rows.at(id), r); });
    return int(it - m_view.begin());
}

qint64 CachedRows::insert(const QVector<QVariant> &values, const QVariantList &keys)
{
    Row row;
    row.id = m_nextInsertId--;
    row.status = Status::Inserted;
    row.values = values;
    row.keys = keys;
    m_rows.emplace(row.id, row);
    return row.id;
}

void CachedRows::update(qint64 id, const QVector<QVariant> &values, const QVariantList &keys)
{
    Row &row = m_rows.at(id);
    if (row.status == Status::Unchanged) {
        row.original = row.values;
        row.status = Status::Modified;
    }
    row.values = values;
    row.keys = keys;
}

void CachedRows::remove(qint64 id)
{
    Row &row = m_rows.at(id);
    // The entry stays (off the view) so that the cursor can still find its neighbours.
    row.status = row.status == Status::Inserted ? Status::Dropped : Status::Deleted;
    m_view.erase(std::remove(m_view.begin(), m_view.end(), id), m_view.end());
    index();
}

bool CachedRows::pending() const
{
    for (const auto &[id, row] : m_rows)
        if (row.status == Status::Inserted || row.status == Status::Modified
            || row.status == Status::Deleted)
            return true;
    return false;
}

std::vector<const CachedRows::Row *> CachedRows::pendingRows(Status status) const
{
    std::vector<const Row *> result;
    for (const auto &[id, row] : m_rows)
        if (row.status == status)
            result.push_back(&row);
    return result;
}

} // namespace tb
