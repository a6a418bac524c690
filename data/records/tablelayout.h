#pragma once

#include "data/book/schema.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

namespace tb {

// How a table cursor's fields and order map onto its table, resolved when it opens.
struct TableLayout
{
    QSqlDatabase db;
    QString table;
    QStringList orderCols;
    QStringList filterCols;       // order columns, then link columns not in the order
    QVector<QString> fieldCol;    // per field index: its column, empty for derived fields
    QVector<FieldType> fieldType; // per field index
    // What tells one row from every other: the table's primary key where it has one (so
    // that the same statements serve a server database), else the row id.
    QStringList identityCols;
    // The identity columns the order does not hold already: they follow the order keys in
    // a bookmark and break ties between rows with equal order keys.
    QStringList tieCols;

    void setIdentity(const QStringList &primaryKey);
    bool identityIsRowId() const;
    // Field index holding a column, -1 when no field does.
    int fieldOf(const QString &column) const { return int(fieldCol.indexOf(column)); }
};

} // namespace tb
