#include "maintenance/employee.h"

#include "controls/windowframe.h"
#include "lookup/r_employee.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

Temployee *employee = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("employee");
    setup.caption = QStringLiteral("員工資料");
    setup.tableName = QStringLiteral("Employee");
    setup.identifierField = QStringLiteral("EmployeeID");
    setup.identifier = {QStringLiteral("EM"), 6};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.queryScreen = [] () -> QWidget * { return R_employee; };
    setup.keepVisibleOnSearch = true; // the screen stays under its query screen
    return setup;
}

} // namespace

Temployee::Temployee()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 704, 457);

    Button2 = closeButton();
    onClick(Button2, [this] { Button2Click(); });
    contentLayout()->addStretch();
}

void Temployee::Button2Click()
{
    closeScreen();
}

} // namespace tb
