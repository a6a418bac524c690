#pragma once

#include "data/records/tablelayout.h"

#include <QVariant>
#include <QVector>

#include <vector>

namespace tb {

// The writing statements of a table cursor: rows by their identity (the table's key, or
// the row id of a table without one), values bound. Statements are prepared once per
// connection (see StatementCache), and rows written together go in as few statements as
// the engine allows, so that a save of many lines costs a round trip or two to a server.
class RowWriter
{
public:
    void setLayout(const TableLayout &layout) { m_layout = layout; }
    void clear() { m_layout = TableLayout(); }
    QSqlDatabase database() const { return m_layout.db; }

    // Values by field index, as the fields hold them. Returns the new row's identity.
    QVariantList insert(const QVector<QVariant> &values) const;
    // Several rows at once; identities are not read back (a table without a key has none to
    // hand out before the rows exist).
    void insertMany(const std::vector<QVector<QVariant>> &rows) const;
    // Writes only the columns whose value changed, and only while they still hold the old
    // values; throws "Record not found or changed by another user" otherwise.
    void update(const QVariantList &identity, const QVector<QVariant> &oldValues,
                const QVector<QVariant> &values) const;
    void remove(const QVariantList &identity) const;
    // Every row or none: throws "Record not found or changed by another user" when any of
    // them is gone.
    void removeMany(const std::vector<QVariantList> &identities) const;

    // Rows a batched statement carries at most.
    static constexpr int BatchRows = 100;

private:
    QString whereIdentity(const QVariantList &identity, QVariantList &binds) const;
    QStringList insertColumns() const;
    void insertBatch(const std::vector<QVector<QVariant>> &rows, size_t from, size_t to) const;

    TableLayout m_layout;
};

} // namespace tb
