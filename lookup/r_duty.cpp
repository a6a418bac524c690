#include "lookup/r_duty.h"

#include "maintenance/duty.h"

namespace tb {

TR_Duty *R_Duty = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Duty");
    setup.caption = QStringLiteral("職務查詢");
    setup.size = QueryScreenSetup::Size::Small;
    setup.table = QStringLiteral("Duty");
    setup.selectLines = {
        QStringLiteral("select DutyID as 職務編號, DutyName as 職務名稱, Memo as 職務說明 "),
    };
    setup.fromLine = QStringLiteral("from Duty");
    setup.items = {
        QueryItem::text(QStringLiteral("職務編號"),
                        QStringLiteral("from Duty where DutyID =")),
        QueryItem::text(QStringLiteral("職務名稱"),
                        QStringLiteral("from Duty where DutyName =")),
    };
    setup.widths = {{0, 100}, {1, 100}, {2, 100}};
    setup.keyTitle = QStringLiteral("職務編號");
    setup.keyField = QStringLiteral("DutyID");
    setup.maintenance = MaintenanceScreen::of(Duty);
    return setup;
}

} // namespace

TR_Duty::TR_Duty() : QueryScreen(screenSetup()) {}

} // namespace tb
