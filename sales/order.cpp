#include "sales/order.h"

namespace tb {

TOrder *Order = nullptr;

namespace {

using namespace Qt::StringLiterals;

using labelcolor::Red;
using labelcolor::SkyBlue;

DocumentLayout orderLayout()
{
    DocumentLayout layout;
    layout.name = u"Order"_s;
    layout.caption = u"訂單"_s;
    layout.frame = QRect(235, 131, 730, 552);
    layout.headerTable = u"OrderMaster"_s;
    layout.lineTable = u"OrderDetail"_s;
    layout.orderFields = u"OrderID"_s;
    layout.orderIndexName = QString();
    layout.openAtCreation = true;
    layout.boxes = {
        {u"訂單編號"_s, Red, u"OrderID"_s, u"DBEdit1"_s, 0, 0},
        {u"訂單日期"_s, SkyBlue, u"OrderDate"_s, u"DBEdit2"_s, 0, 1},
        {u"來源單號"_s, SkyBlue, u"Source"_s, u"DBEdit6"_s, 0, 2},
        {u"預交日期"_s, SkyBlue, u"AdvanceDate"_s, u"DBEdit7"_s, 0, 3},
        {u"顧客編號"_s, SkyBlue, u"CustomerID"_s, u"DBEdit3"_s, 1, 0},
        {u"合計金額"_s, Red, u"SubTotal"_s, u"DBEdit8"_s, 1, 1},
        {u"員工編號"_s, SkyBlue, u"EmployeeID"_s, u"DBEdit4"_s, 1, 2},
        {u"營業稅額"_s, Red, u"ValueAddTax"_s, u"DBEdit9"_s, 1, 3},
        {u"送貨地址"_s, SkyBlue, u"DeliveryAddress"_s, u"DBEdit5"_s, 2, 0, 3, 465},
        {u"備註"_s, labelcolor::Window, u"Memo"_s, u"DBMemo1"_s, 3, 0, 3},
        {u"總計金額"_s, Red, u"Amount"_s, u"DBEdit10"_s, 2, 3},
    };
    layout.columns = {
        {u"OrderID"_s, u"訂單編號"_s},
        {u"OdetailID"_s, u"明細編號"_s},
        {u"ProductID"_s, u"商品編號"_s},
        {u"ProductName"_s, u"商品名稱"_s, 188},
        {u"Quantity"_s, u"數量"_s},
        {u"NonPayQuantity"_s, u"未交數量"_s},
        {u"Unit"_s, u"單位"_s},
        {u"Price"_s, u"單價"_s},
        {u"Amount"_s, u"金額"_s},
        {u"Source"_s, u"來源單號"_s},
        {u"Memo"_s, u"備註"_s},
    };
    return layout;
}

} // namespace

TOrder::TOrder()
    : DocumentWindow(orderLayout())
{
}

} // namespace tb
