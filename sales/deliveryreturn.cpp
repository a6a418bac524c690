#include "sales/deliveryreturn.h"

namespace tb {

TDeliveryReturn *DeliveryReturn = nullptr;

namespace {

using namespace Qt::StringLiterals;

using labelcolor::Red;
using labelcolor::SkyBlue;

DocumentLayout deliveryReturnLayout()
{
    DocumentLayout layout;
    layout.name = u"DeliveryReturn"_s;
    layout.caption = u"出貨退回單"_s;
    layout.frame = QRect(215, 149, 696, 480);
    layout.headerTable = u"DeliveryReturnMaster"_s;
    layout.lineTable = u"DeliveryReturnDetail"_s;
    layout.orderFields = QString();
    layout.orderIndexName = u"DeliveryReturnID"_s;
    layout.openAtCreation = true;
    layout.boxes = {
        {u"單據編號"_s, Red, u"DeliveryReturnID"_s, u"DBEdit1"_s, 0, 0},
        {u"退貨日期"_s, SkyBlue, u"DeliveryReturnDate"_s, u"DBEdit2"_s, 0, 1},
        {u"顧客編號"_s, SkyBlue, u"CustomerID"_s, u"DBEdit3"_s, 0, 2},
        {u"員工編號"_s, SkyBlue, u"EmployeeID"_s, u"DBEdit4"_s, 0, 3},
        {u"帳款日期"_s, SkyBlue, u"ScotFreeDate"_s, u"DBEdit5"_s, 1, 0},
        {u"合計金額"_s, Red, u"SubTotal"_s, u"DBEdit6"_s, 1, 1},
        {u"營業稅額"_s, Red, u"ValueAddTax"_s, u"DBEdit7"_s, 1, 2},
        {u"總計金額"_s, Red, u"Amount"_s, u"DBEdit8"_s, 1, 3},
    };
    layout.columns = {
        {u"DeliveryReturnID"_s, u"出貨退回單號"_s},
        {u"DRdetailID"_s, u"明細編號"_s},
        {u"ProductID"_s, u"商品編號"_s},
        {u"ProductName"_s, u"商品名稱"_s, 167},
        {u"Quantity"_s, u"數量"_s},
        {u"Unit"_s, u"單位"_s},
        {u"Price"_s, u"單價"_s},
        {u"Amount"_s, u"金額"_s},
        {u"Source"_s, u"來源單號"_s},
        {u"Memo"_s, u"備註"_s},
    };
    return layout;
}

} // namespace

TDeliveryReturn::TDeliveryReturn()
    : DocumentWindow(deliveryReturnLayout())
{
}

} // namespace tb
