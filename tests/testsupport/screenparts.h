#pragma once

#include "controls/dbgrid.h"
#include "data/records/sqlquery.h"
#include "data/records/tablecursor.h"
#include "testsupport/screendriver.h"

#include <QComboBox>
#include <QLineEdit>

namespace tb::test {

// The parts of a window the tests read most, by the object names every screen gives them.
inline TableCursor *table1(const QObject *window)
{
    return named<TableCursor>(window, QStringLiteral("Table1"));
}

inline DBGrid *grid(const QObject *window)
{
    return named<DBGrid>(window, QStringLiteral("DBGrid1"));
}

// A query screen's result, its value box and its column list.
inline ConnectionQuery *query(const QObject *screen)
{
    return named<ConnectionQuery>(screen, QStringLiteral("ADOQuery1"));
}

inline QLineEdit *valueBox(const QObject *screen)
{
    return named<QLineEdit>(screen, QStringLiteral("Edit1"));
}

inline QComboBox *columnBox(const QObject *screen)
{
    return named<QComboBox>(screen, QStringLiteral("ComboBox1"));
}

} // namespace tb::test
