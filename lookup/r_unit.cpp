#include "lookup/r_unit.h"

#include "maintenance/punit.h"

namespace tb {

TR_Unit *R_Unit = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Unit");
    setup.caption = QStringLiteral("單位查詢");
    setup.size = QueryScreenSetup::Size::Small;
    setup.table = QStringLiteral("Unit");
    setup.selectLines = {
        QStringLiteral("select UnitID as 單位編號, UnitName as 單位名稱, Memo as 說明 "),
    };
    setup.fromLine = QStringLiteral("from Unit");
    setup.items = {
        QueryItem::text(QStringLiteral("單位編號"),
                        QStringLiteral("from Unit where UnitID =")),
        QueryItem::text(QStringLiteral("單位名稱"),
                        QStringLiteral("from Unit where UnitName =")),
    };
    setup.widths = {{0, 100}, {1, 100}, {2, 100}};
    setup.keyTitle = QStringLiteral("單位編號");
    setup.keyField = QStringLiteral("UnitID");
    setup.maintenance = MaintenanceScreen::of(punit);
    return setup;
}

} // namespace

TR_Unit::TR_Unit() : QueryScreen(screenSetup()) {}

} // namespace tb
