#include "maintenance/producttype.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TProductType *ProductType = nullptr;

TProductType::TProductType()
    : WorkWindow(QStringLiteral("ProductType"), QStringLiteral("商品類別設定"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 570, 182);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("ProductType"));
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                                QStringLiteral("Button2"));
    Button2 = ToolBar->closeButton;
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button1Click(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ToolBar);
    layout->addStretch();
}

void TProductType::Button1Click()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
