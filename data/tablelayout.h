#pragma once

#include "data/schema.h"

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
};

} // namespace tb
