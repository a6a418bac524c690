#include "maintenance/pcolor.h"

#include "controls/windowframe.h"
#include "lookup/r_color.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TPcolor *Pcolor = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("Pcolor");
    setup.caption = QStringLiteral("產品顏色設定");
    setup.tableName = QStringLiteral("Color");
    setup.identifierField = QStringLiteral("ColorID");
    setup.identifier = {QStringLiteral("CO"), 4};
    setup.indexFieldNames = QStringLiteral("ColorID");
    setup.closeButtonName = QStringLiteral("Button1");
    setup.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    setup.queryScreen = [] () -> QWidget * { return R_Color; };
    return setup;
}

} // namespace

TPcolor::TPcolor()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 570, 182);

    Button1 = closeButton();
    onClick(Button1, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void TPcolor::Button1Click()
{
    closeScreen();
}

} // namespace tb
