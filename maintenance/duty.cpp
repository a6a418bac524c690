#include "maintenance/duty.h"

#include "controls/windowframe.h"
#include "lookup/r_duty.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TDuty *Duty = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("Duty");
    setup.caption = QStringLiteral("員工職務設定");
    setup.tableName = QStringLiteral("Duty");
    setup.identifierField = QStringLiteral("DutyID");
    setup.identifier = {QStringLiteral("DU"), 4};
    setup.indexFieldNames = QStringLiteral("DutyID");
    setup.closeButtonName = QStringLiteral("Button1");
    setup.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    setup.queryScreen = [] () -> QWidget * { return R_Duty; };
    return setup;
}

} // namespace

TDuty::TDuty()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 570, 182);

    Button1 = closeButton();
    onClick(Button1, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void TDuty::Button1Click()
{
    closeScreen();
}

} // namespace tb
