#include "lookup/r_product.h"

#include "maintenance/product.h"

namespace tb {

TR_product *R_product = nullptr;

namespace {

QueryScreenSetup screenSetup()
{
    QueryScreenSetup setup;
    setup.name = QStringLiteral("R_product");
    setup.caption = QStringLiteral("商品查詢");
    setup.size = QueryScreenSetup::Size::Large;
    setup.table = QStringLiteral("Product");
    setup.selectLines = {
        QStringLiteral("select ProductID as 商品編號, ProductName as 商品名稱, TypeName as "
                       "類別, UnitName as 單位, ColorName as 顏色"),
        QStringLiteral(", Stock as 存量, SafeStock as 安全存量, PriceA as 價格A, PriceB as "
                       "價格B, PriceC as 價格C, LastPurchaseDate as 最近進貨日, "
                       "LastDeliveryDate as 最近出貨日 "),
    };
    setup.fromLine = QStringLiteral("from Product");
    setup.items = {
        QueryItem::text(QStringLiteral("商品編號"),
                        QStringLiteral("from Product where ProductID =")),
        QueryItem::text(QStringLiteral("商品名稱"),
                        QStringLiteral("from Product where ProductName =")),
        QueryItem::text(QStringLiteral("商品類別"),
                        QStringLiteral("from Product where TypeName =")),
        QueryItem::date(QStringLiteral("最近進貨日"),
                        QStringLiteral("from Product where LastPurchaseDate =")),
        QueryItem::date(QStringLiteral("最近出貨日"),
                        QStringLiteral("from Product where LastDeliveryDate =")),
    };
    setup.widths = {{0, 100}, {1, 150}, {3, 50}, {4, 50}};
    setup.keyTitle = QStringLiteral("商品編號");
    setup.keyField = QStringLiteral("ProductID");
    setup.maintenance = MaintenanceScreen::of(Product);
    return setup;
}

} // namespace

TR_product::TR_product() : QueryScreen(screenSetup()) {}

} // namespace tb
