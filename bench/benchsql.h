#pragma once

#include <QStringList>

namespace tb::benchsql {

// The product query screen's two select lines, as that screen sends them.
inline QStringList productSelect()
{
    return {QStringLiteral("select ProductID as 商品編號, ProductName as 商品名稱, "
                           "TypeName as 類別, UnitName as 單位, ColorName as 顏色"),
            QStringLiteral(", Stock as 存量, SafeStock as 安全存量, PriceA as 價格A, "
                           "PriceB as 價格B, PriceC as 價格C, LastPurchaseDate as 最近進貨日, "
                           "LastDeliveryDate as 最近出貨日 ")};
}

} // namespace tb::benchsql
