#include "maintenance/product.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TProduct *Product = nullptr;

TProduct::TProduct()
    : WorkWindow(QStringLiteral("Product"), QStringLiteral("商品資料"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 162, 704, 455);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("Product"));
    Table1->setIndexFieldNames(QStringLiteral("ProductID"));
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    ToolBar = new RecordToolBar(this, RecordToolBar::Order::ProductScreen,
                                QStringLiteral("查詢"),
                                QStringLiteral("Button1"));
    Button1 = ToolBar->closeButton;
    connectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ToolBar);
    layout->addStretch();
}

void TProduct::Button1Click()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
