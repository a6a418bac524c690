#include "lookup/r_color.h"

#include "maintenance/pcolor.h"

namespace tb {

TR_Color *R_Color = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Color");
    setup.caption = QStringLiteral("顏色查詢");
    setup.size = QueryScreenSetup::Size::Small;
    setup.table = QStringLiteral("Color");
    setup.selectLines = {
        QStringLiteral("select ColorID as 顏色編號, ColorName as 顏色名稱 "),
    };
    setup.fromLine = QStringLiteral("from Color");
    setup.items = {
        QueryItem::text(QStringLiteral("顏色編號"),
                        QStringLiteral("from Color where ColorID =")),
        QueryItem::text(QStringLiteral("顏色名稱"),
                        QStringLiteral("from Color where ColorName =")),
    };
    setup.widths = {{0, 100}, {1, 100}};
    setup.keyTitle = QStringLiteral("顏色編號");
    setup.keyField = QStringLiteral("ColorID");
    setup.maintenance = MaintenanceScreen::of(Pcolor);
    return setup;
}

} // namespace

TR_Color::TR_Color() : QueryScreen(screenSetup()) {}

} // namespace tb
