#include "maintenance/producttype.h"

#include "controls/windowframe.h"
#include "lookup/r_type.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TProductType *ProductType = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("ProductType");
    setup.caption = QStringLiteral("商品類別設定");
    setup.tableName = QStringLiteral("ProductType");
    setup.identifierField = QStringLiteral("TypeID");
    setup.identifier = {QStringLiteral("TY"), 4};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    setup.queryScreen = [] () -> QWidget * { return R_Type; };
    return setup;
}

} // namespace

TProductType::TProductType()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 570, 182);

    Button2 = closeButton();
    onClick(Button2, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void TProductType::Button1Click()
{
    closeScreen();
}

} // namespace tb
