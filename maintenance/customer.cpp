#include "maintenance/customer.h"

#include "controls/windowframe.h"
#include "lookup/r_customer.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TCustomer *Customer = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("Customer");
    setup.caption = QStringLiteral("客戶資料");
    setup.tableName = QStringLiteral("Customer");
    setup.identifierField = QStringLiteral("CustomerID");
    setup.identifier = {QStringLiteral("CU"), 6};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.queryScreen = [] () -> QWidget * { return R_customer; };
    return setup;
}

} // namespace

TCustomer::TCustomer()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 705, 456);

    Button2 = closeButton();
    onClick(Button2, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void TCustomer::Button1Click()
{
    closeScreen();
}

} // namespace tb
