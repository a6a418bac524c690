#include "maintenance/customer.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TCustomer *Customer = nullptr;

TCustomer::TCustomer()
    : WorkWindow(QStringLiteral("Customer"), QStringLiteral("客戶資料"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 705, 456);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("Customer"));
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

void TCustomer::Button1Click()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
