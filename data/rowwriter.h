#pragma once

#include "data/tablelayout.h"

#include <QVariant>
#include <QVector>

namespace tb {

// The writing statements of a table cursor: one row by its identity (the table's key, or
// the row id of a table without one), values bound.
class RowWriter
{
public:
    void setLayout(const TableLayout &layout) { m_layout = layout; }
    void clear() { m_layout = TableLayout(); }
    QSqlDatabase database() const { return m_layout.db; }

    // Values by field index, as the fields hold them. Returns the new row's identity.
    QVariantList insert(const QVector<QVariant> &values) const;
    // Writes only the columns whose value changed, and only while they still hold the old
    // values; throws "Record not found or changed by another user" otherwise.
    void update(const QVariantList &identity, const QVector<QVariant> &oldValues,
                const QVector<QVariant> &values) const;
    void remove(const QVariantList &identity) const;

private:
    QString whereIdentity(const QVariantList &identity, QVariantList &binds) const;

    TableLayout m_layout;
};

} // namespace tb
