#include "maintenance/employee.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

Temployee *employee = nullptr;

Temployee::Temployee()
    : WorkWindow(QStringLiteral("employee"), QStringLiteral("員工資料"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 704, 457);

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("Employee"));
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                                QStringLiteral("Button2"));
    Button2 = ToolBar->closeButton;
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ToolBar);
    layout->addStretch();
}

void Temployee::Button2Click()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
