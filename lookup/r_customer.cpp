#include "lookup/r_customer.h"

#include "maintenance/customer.h"

namespace tb {

TR_customer *R_customer = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_customer");
    setup.caption = QStringLiteral("客戶查詢");
    setup.size = QueryScreenSetup::Size::Large;
    setup.table = QStringLiteral("Customer");
    setup.selectLines = {
        QStringLiteral("select CustomerID as 客戶編號, CustomerAttribName as 客戶簡稱, "
                       "CustomerName as 客戶名稱, EarNo as 統一編號, JoinMan as 聯絡人"),
        QStringLiteral(", Tel as 電話, CellPhone as 手機, Fax as 傳真, CompanyAddress as "
                       "公司地址, DeliveryAddress as 送貨地址, LastDeliveryDate as 最後交易日 "),
    };
    setup.fromLine = QStringLiteral("from Customer");
    setup.items = {
        QueryItem::text(QStringLiteral("客戶編號"),
                        QStringLiteral("from Customer where CustomerID =")),
        QueryItem::text(QStringLiteral("客戶名稱"),
                        QStringLiteral("from Customer where CustomerName =")),
        QueryItem::text(QStringLiteral("統一編號"),
                        QStringLiteral("from Customer where EarNo =")),
        QueryItem::date(QStringLiteral("最後交易日"),
                        QStringLiteral("from Customer where LastDeliveryDate =")),
    };
    setup.widths = {{0, 100}, {2, 150}};
    setup.keyTitle = QStringLiteral("客戶編號");
    setup.keyField = QStringLiteral("CustomerID");
    setup.maintenance = MaintenanceScreen::of(Customer);
    return setup;
}

} // namespace

TR_customer::TR_customer() : QueryScreen(screenSetup()) {}

} // namespace tb
