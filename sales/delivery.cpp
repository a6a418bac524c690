#include "sales/delivery.h"

namespace tb {

TDelivery *Delivery = nullptr;

namespace {

using namespace Qt::StringLiterals;

using labelcolor::Red;
using labelcolor::SkyBlue;

DocumentLayout deliveryLayout()
{
    DocumentLayout layout;
    layout.name = u"Delivery"_s;
    layout.caption = u"出貨單"_s;
    layout.frame = QRect(190, 105, 728, 601);
    layout.headerTable = u"DeliveryMaster"_s;
    layout.lineTable = u"DeliveryDetail"_s;
    layout.orderFields = QString();
    layout.orderIndexName = u"DeliveryID"_s;
    layout.openAtCreation = false;
    layout.boxes = {
        {u"出貨單編號"_s, Red, u"DeliveryID"_s, u"DBEdit1"_s, 0, 0},
        {u"出貨日期"_s, SkyBlue, u"DeliveryDate"_s, u"DBEdit2"_s, 0, 1},
        {u"顧客編號"_s, SkyBlue, u"CustomerID"_s, u"DBEdit3"_s, 0, 2},
        {u"合計金額"_s, Red, u"SubTotal"_s, u"DBEdit6"_s, 0, 3},
        {u"員工編號"_s, SkyBlue, u"EmployeeID"_s, u"DBEdit4"_s, 1, 0},
        {u"營業稅額"_s, Red, u"ValueAddTax"_s, u"DBEdit8"_s, 1, 1},
        {u"總計金額"_s, Red, u"Amount"_s, u"DBEdit7"_s, 1, 2},
        {u"送貨地址"_s, SkyBlue, u"DeliveryAddres"_s, u"DBEdit5"_s, 2, 0, 3, 425},
    };
    layout.columns = {
        {u"DeliveryID"_s, u"出貨單編號"_s},
        {u"DdetailID"_s, u"明細編號"_s},
        {u"ProductID"_s, u"商品編號"_s},
        {u"ProductName"_s, u"商品名稱"_s, 190},
        {u"Unit"_s, u"單位"_s},
        {u"Quantity"_s, u"數量"_s},
        {u"SalesPrice"_s, u"出貨單價"_s},
        {u"Amount"_s, u"金額"_s},
        {u"Memo"_s, u"備註"_s},
    };
    return layout;
}

} // namespace

TDelivery::TDelivery()
    : DocumentWindow(deliveryLayout())
{
}

} // namespace tb
