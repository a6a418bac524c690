#include "maintenance/department.h"

#include "controls/windowframe.h"
#include "lookup/r_department.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

Tdepartment *department = nullptr;

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("department");
    setup.caption = QStringLiteral("員工部門設定");
    setup.tableName = QStringLiteral("Department");
    setup.identifierField = QStringLiteral("DepartmentID");
    setup.identifier = {QStringLiteral("DE"), 4};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    setup.queryScreen = [] () -> QWidget * { return R_Department; };
    return setup;
}

} // namespace

Tdepartment::Tdepartment()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 570, 182);

    Button2 = closeButton();
    onClick(Button2, [this] { Button1Click(); });
    contentLayout()->addStretch();
}

void Tdepartment::Button1Click()
{
    closeScreen();
}

} // namespace tb
