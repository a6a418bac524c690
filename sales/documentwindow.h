#pragma once

#include "controls/dbgrid.h"
#include "controls/workwindow.h"

#include <QColor>

#include <vector>

class QPushButton;

namespace tb {

// Label backgrounds of the document windows' header boxes.
namespace labelcolor {
inline const QColor Red(Qt::red);
inline const QColor SkyBlue(0xA6, 0xCA, 0xF0);
inline const QColor Window; // invalid: the label takes the window colour
} // namespace labelcolor

class DataSource;
class RecordToolBar;
class TableCursor;

// One labelled box of a document header; the label stands above its box.
struct HeaderBox
{
    QString caption;
    QColor labelColor;  // invalid: the window colour
    QString field;
    QString boxName;    // "DBEdit3", or "DBMemo1" for the memo box
    int row = 0;
    int column = 0;
    int columnSpan = 1;
    int width = -1;     // -1: the layout's width
};

// What distinguishes the order, delivery and delivery-return windows from one another.
struct DocumentLayout
{
    QString name;
    QString caption;
    QRect frame;             // position and outer size
    QString headerTable;
    QString lineTable;
    QString orderFields;     // index fields of both tables, or
    QString orderIndexName;  // the tables' index of that name
    bool openAtCreation = false;
    std::vector<HeaderBox> boxes;
    QList<GridColumn> columns;
};

// A sales document window that only shows its tables: a toolbar whose speed buttons do
// nothing, header boxes bound to the header table and a grid over every line of the line
// table (the two are not linked). The close button is its only behaviour.
class DocumentWindow : public WorkWindow
{
    Q_OBJECT
public:
    explicit DocumentWindow(const DocumentLayout &layout);

    // Close: back to the main window; nothing is posted, cancelled or closed.
    void Button1Click();

private:
    QWidget *createHeader(const std::vector<HeaderBox> &boxes);

    TableCursor *Table1;
    TableCursor *Table2;
    DataSource *DataSource1;
    DataSource *DataSource2;
    RecordToolBar *ToolBar;
    QPushButton *Button2;
    DBGrid *DBGrid1;
};

} // namespace tb
