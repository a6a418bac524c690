#pragma once

#include <QHash>
#include <QVariant>
#include <QVector>

#include <functional>
#include <map>
#include <vector>

namespace tb {

// The rows a table cursor with cached updates holds in memory: the stored rows of its
// current view (master link or key range) plus every pending change, whichever view it
// belongs to. Rows are known by an id: a stored row gets a positive one, kept for as long
// as the row stays in the cache, and a row inserted into the cache a negative one until it
// is written. A stored row also carries its identity in the table (key or row id).
class CachedRows
{
public:
    enum class Status { Unchanged, Inserted, Modified, Deleted, Dropped };

    struct Row
    {
        qint64 id = 0;
        QVariantList identity;        // as stored; empty while only in the cache
        Status status = Status::Unchanged;
        QVector<QVariant> values;     // field values by field index
        QVector<QVariant> original;   // as stored, for the update
        QVariantList keys;            // stored form of the order and link columns
    };
    using Less = std::function<bool(const Row &, const Row &)>;
    using Match = std::function<bool(const Row &)>;

    void clear();
    // Replaces the view by the stored rows just read (their ids are given here) plus the
    // pending rows the filter matches; a pending version of a stored row wins over the
    // stored one.
    void load(std::vector<Row> stored, const Match &match, const Less &less);
    // Re-filters and re-sorts the view (after a write changed a row's keys).
    void rebuildView(const Match &match, const Less &less);

    int count() const { return int(m_view.size()); }
    const Row &at(int position) const { return m_rows.at(m_view[position]); }
    const Row *find(qint64 id) const;
    int position(qint64 id) const; // in the view, -1 when not there
    // First view position whose row stands after the given row (which may be off the view).
    int upperBound(const Row &row, const Less &less) const;
    int lowerBound(const Row &row, const Less &less) const;

    qint64 insert(const QVector<QVariant> &values, const QVariantList &keys);
    void update(qint64 id, const QVector<QVariant> &values, const QVariantList &keys);
    void remove(qint64 id);

    bool pending() const;
    std::vector<const Row *> pendingRows(Status status) const;

private:
    void index();
    std::map<qint64, Row> m_rows;
    std::vector<qint64> m_view;
    QHash<qint64, int> m_position; // id -> view position
    QHash<QString, qint64> m_storedIds; // identity -> id of the stored rows held
    qint64 m_nextStoredId = 1;
    qint64 m_nextInsertId = -1;
};

} // namespace tb
