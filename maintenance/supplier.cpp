#include "maintenance/supplier.h"

#include "controls/windowframe.h"
#include "lookup/r_supplier.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TSupplier *Supplier = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("Supplier");
    setup.caption = QStringLiteral("供應商資料");
    setup.tableName = QStringLiteral("Supplier");
    setup.identifierField = QStringLiteral("SupplierID");
    setup.identifier = {QStringLiteral("SU"), 6};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.queryScreen = [] () -> QWidget * { return R_Supplier; };
    return setup;
}

} // namespace

TSupplier::TSupplier()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 214, 282, 704, 456);

    Button2 = closeButton();
    onClick(Button2, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void TSupplier::Button1Click()
{
    closeScreen();
}

} // namespace tb
