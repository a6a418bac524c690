#include "maintenance/supplier.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TSupplier *Supplier = nullptr;

TSupplier::TSupplier()
    : WorkWindow(QStringLiteral("Supplier"), QStringLiteral("供應商資料"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 214, 282, 704, 456);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("Supplier"));
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

void TSupplier::Button1Click()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
