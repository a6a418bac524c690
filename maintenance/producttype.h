#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

class DataSource;
class RecordToolBar;
class TableCursor;

// Maintenance screen of the ProductType table.
class TProductType : public WorkWindow
{
    Q_OBJECT
public:
    explicit TProductType();

    TableCursor *Table1;
    DataSource *DataSource1;
    RecordToolBar *ToolBar;
    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TProductType *ProductType;

} // namespace tb
