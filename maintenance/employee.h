#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

class DataSource;
class RecordToolBar;
class TableCursor;

// Maintenance screen of the Employee table.
class Temployee : public WorkWindow
{
    Q_OBJECT
public:
    explicit Temployee();

    TableCursor *Table1;
    DataSource *DataSource1;
    RecordToolBar *ToolBar;
    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button2Click();
};

extern Temployee *employee;

} // namespace tb
