#include "lookup/productpicker.h"

#include "controls/dbgrid.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/windowframe.h"
#include "data/records/datasource.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"

#include <QPushButton>

namespace tb {

TProductPicker *Form28 = nullptr;

TProductPicker::TProductPicker(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form28"));
    setWindowTitle(QStringLiteral("商品清單"));
    placeWindow(this, 327, 215, 393, 214);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("Product"));
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 8, 361, 120);
    DBGrid1->setColumns({{QStringLiteral("ProductID")},
                         {QStringLiteral("ProductName"), QString(), 227}});
    // The picker only chooses; products are changed on the product screen.
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(DataSource1);
    setInputMethodName(DBGrid1, ime::NewCangjie);

    Button1 = new QPushButton(QStringLiteral("確定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setGeometry(96, 144, 75, 25);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    Button2->setGeometry(208, 144, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(DBGrid1, &DBGrid::dblClicked, this, [this] { DBGrid1DblClick(); });
}

TProductPicker::Choice TProductPicker::chosen() const
{
    return {Table1->FieldByName(QStringLiteral("ProductID"))->AsString(),
            Table1->FieldByName(QStringLiteral("ProductName"))->AsString()};
}

void TProductPicker::Button1Click()
{
    accept();
}

void TProductPicker::Button2Click()
{
    reject();
}

void TProductPicker::DBGrid1DblClick()
{
    accept();
}

void TProductPicker::readList()
{
    // Products change between openings; the picker stays on the row it last stood on.
    if (Table1->Active())
        Table1->Refresh();
    else
        Table1->Open();
}

int TProductPicker::exec()
{
    readList();
    m_readForExec = true;
    const int result = QDialog::exec();
    m_readForExec = false;
    return result;
}

void TProductPicker::showEvent(QShowEvent *event)
{
    // Shown other than through exec(): read here, where an error can only be shown.
    if (!m_readForExec)
        runGuarded([this] { readList(); });
    m_readForExec = false;
    QDialog::showEvent(event);
}

} // namespace tb
