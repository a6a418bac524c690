#pragma once

#include "data/tablelayout.h"

#include <QVariant>
#include <QVector>

namespace tb {

// The writing statements of a table cursor: one row by its row id, values bound.
class RowWriter
{
public:
    void setLayout(const TableLayout &layout) { m_layout = layout; }
    void clear() { m_layout = TableLayout(); }
    QSqlDatabase database() const { return m_layout.db; }

    // Values by field index, as the fields hold them.
    qint64 insert(const QVector<QVariant> &values) const;
    // Writes only the columns whose value changed; throws when the row is gone.
    void update(qint64 rowid, const QVector<QVariant> &oldValues,
                const QVector<QVariant> &values) const;
    void remove(qint64 rowid) const;

private:
    TableLayout m_layout;
};

} // namespace tb
