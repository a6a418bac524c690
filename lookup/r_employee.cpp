#include "lookup/r_employee.h"

#include "maintenance/employee.h"

namespace tb {

TR_employee *R_employee = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_employee");
    setup.caption = QStringLiteral("員工查詢");
    setup.size = QueryScreenSetup::Size::Large;
    setup.table = QStringLiteral("Employee");
    setup.selectLines = {
        QStringLiteral("select EmployeeID as 員工編號, EmployeeName as 員工姓名, ID as "
                       "身份證字號, Birthday as 出生日期, Sex as 性別, Blood as 血型"),
        QStringLiteral(", Marriage as 婚姻狀態, JoinMan as 聯絡人, Address as 地址, Tel as "
                       "電話, DepartmentName as 部門名稱, BirthPlace as 籍貫, Antecedent as "
                       "學歷, DutyName as 工作職務, ArriveDate as 到職日, LeaveDate as 離職日, "
                       "Career as 經歷  "),
    };
    setup.fromLine = QStringLiteral("from Employee");
    setup.items = {
        QueryItem::text(QStringLiteral("員工編號"),
                        QStringLiteral("from Employee where EmployeeID =")),
        QueryItem::text(QStringLiteral("身份證字號"),
                        QStringLiteral("from Employee where ID =")),
        QueryItem::text(QStringLiteral("部門名稱"),
                        QStringLiteral("from Employee where DepartmentName =")),
    };
    setup.widths = {{0, 100}, {2, 100}};
    setup.keyTitle = QStringLiteral("員工編號");
    setup.keyField = QStringLiteral("EmployeeID");
    setup.maintenance = MaintenanceScreen::of(employee);
    setup.keepResultOnCancel = true; // its maintenance screen stays open under it
    return setup;
}

} // namespace

TR_employee::TR_employee() : QueryScreen(screenSetup()) {}

} // namespace tb
