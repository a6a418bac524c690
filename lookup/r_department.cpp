#include "lookup/r_department.h"

#include "maintenance/department.h"

namespace tb {

TR_Department *R_Department = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Department");
    setup.caption = QStringLiteral("部門查詢");
    setup.size = QueryScreenSetup::Size::Small;
    setup.table = QStringLiteral("Department");
    setup.selectLines = {
        QStringLiteral("select DepartmentID as 部門編號, DepartmentName as 部門名稱 "),
    };
    setup.fromLine = QStringLiteral("from Department");
    setup.items = {
        QueryItem::text(QStringLiteral("部門編號"),
                        QStringLiteral("from Department where DepartmentID =")),
        QueryItem::text(QStringLiteral("部門名稱"),
                        QStringLiteral("from Department where DepartmentName =")),
    };
    setup.widths = {{0, 100}, {1, 100}};
    setup.keyTitle = QStringLiteral("部門編號");
    setup.keyField = QStringLiteral("DepartmentID");
    setup.maintenance = MaintenanceScreen::of(department);
    return setup;
}

} // namespace

TR_Department::TR_Department() : QueryScreen(screenSetup()) {}

} // namespace tb
