#pragma once

#include "controls/dbedit.h"
#include "maintenance/recordscreen.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace tb {

// Maintenance screen of the Product table. Type, unit and colour are never typed: the
// three "▼" buttons fill them from the code tables.
class TProduct : public RecordScreen
{
    Q_OBJECT
public:
    TProduct();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    // A new product starts with stock and prices 0; its safety stock stays empty.
    void Table1NewRecord();
    // Stock and prices B and C are never stored empty.
    void Table1BeforePost();

private:
    // Table1's rules: the product's defaults, and its own check before a post in place of
    // the required-field checks, which "儲存" runs.
    void newRecord(DataSet &) override { Table1NewRecord(); }
    void beforePost(DataSet &) override { Table1BeforePost(); }

    DBEdit *EditID, *EditName, *EditType, *EditUnit, *EditColor, *EditStock, *EditSafeStock;
    DBEdit *EditPriceA, *EditPriceB, *EditPriceC, *EditPuDate, *EditDeDate;
    QPushButton *Button1; // "結束"
    QPushButton *Button2; // type
    QPushButton *Button3; // unit
    QPushButton *Button4; // colour
    QGroupBox *GroupBox1; // colour legend
};

extern TProduct *Product;

} // namespace tb
