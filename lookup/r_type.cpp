#include "lookup/r_type.h"

#include "maintenance/producttype.h"

namespace tb {

TR_Type *R_Type = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Type");
    setup.caption = QStringLiteral("類別查詢");
    setup.size = QueryScreenSetup::Size::Small;
    setup.table = QStringLiteral("ProductType");
    setup.selectLines = {
        QStringLiteral("select TypeID as 類別編號, TypeName as 類別名稱 "),
    };
    setup.fromLine = QStringLiteral("from ProductType");
    setup.items = {
        QueryItem::text(QStringLiteral("類別編號"),
                        QStringLiteral("from ProductType where TypeID =")),
        QueryItem::text(QStringLiteral("類別名稱"),
                        QStringLiteral("from ProductType where TypeName =")),
    };
    setup.widths = {{0, 100}, {1, 100}};
    setup.keyTitle = QStringLiteral("類別編號");
    setup.keyField = QStringLiteral("TypeID");
    setup.maintenance = MaintenanceScreen::of(ProductType);
    return setup;
}

} // namespace

TR_Type::TR_Type() : QueryScreen(screenSetup()) {}

} // namespace tb
