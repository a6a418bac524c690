#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

class DataSource;
class RecordToolBar;
class TableCursor;

// Maintenance screen of the Product table.
class TProduct : public WorkWindow
{
    Q_OBJECT
public:
    explicit TProduct();

    TableCursor *Table1;
    DataSource *DataSource1;
    RecordToolBar *ToolBar;
    QPushButton *Button1;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TProduct *Product;

} // namespace tb
