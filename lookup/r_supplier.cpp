#include "lookup/r_supplier.h"

#include "maintenance/supplier.h"

namespace tb {

TR_Supplier *R_Supplier = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_Supplier");
    setup.caption = QStringLiteral("廠商查詢");
    setup.size = QueryScreenSetup::Size::Large;
    setup.table = QStringLiteral("Supplier");
    setup.selectLines = {
        QStringLiteral("select SupplierID as 廠商編號, SupplierAttribName as 廠商簡稱, "
                       "SupplierName as 廠商名稱, EarNo as 統一編號, JoinMan as 聯絡人"),
        QStringLiteral(", Tel as 電話, CellPhone as 手機, Fax as 傳真, CompanyAddress as "
                       "公司地址, DeliveryAddress as 送貨地址, LastDeliveryDate as 最後交易日 "),
    };
    setup.fromLine = QStringLiteral("from Supplier");
    setup.items = {
        QueryItem::text(QStringLiteral("廠商編號"),
                        QStringLiteral("from Supplier where SupplierID =")),
        QueryItem::text(QStringLiteral("廠商名稱"),
                        QStringLiteral("from Supplier where SupplierName =")),
        QueryItem::text(QStringLiteral("統一編號"),
                        QStringLiteral("from Supplier where EarNo =")),
        QueryItem::date(QStringLiteral("最後交易日"),
                        QStringLiteral("from Supplier where LastDeliveryDate =")),
    };
    setup.widths = {{0, 100}, {2, 150}};
    setup.keyTitle = QStringLiteral("廠商編號");
    setup.keyField = QStringLiteral("SupplierID");
    setup.maintenance = MaintenanceScreen::of(Supplier);
    return setup;
}

} // namespace

TR_Supplier::TR_Supplier() : QueryScreen(screenSetup()) {}

} // namespace tb
