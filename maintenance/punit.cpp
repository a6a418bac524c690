#include "maintenance/punit.h"

#include "controls/windowframe.h"
#include "lookup/r_unit.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

Tpunit *punit = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("punit");
    setup.caption = QStringLiteral("產品單位設定");
    setup.tableName = QStringLiteral("Unit");
    setup.identifierField = QStringLiteral("UnitID");
    setup.identifier = {QStringLiteral("UN"), 4};
    setup.closeButtonName = QStringLiteral("Button1");
    setup.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    setup.queryScreen = [] () -> QWidget * { return R_Unit; };
    return setup;
}

} // namespace

Tpunit::Tpunit()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 570, 182);

    Button1 = closeButton();
    onClick(Button1, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void Tpunit::Button1Click()
{
    closeScreen();
}

} // namespace tb
