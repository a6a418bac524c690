#include "lookup/queryscreens.h"

using namespace Qt::StringLiterals;

namespace tb {

TR_product *R_product = nullptr;
TR_customer *R_customer = nullptr;
TR_Supplier *R_Supplier = nullptr;
TR_employee *R_employee = nullptr;
TR_Unit *R_Unit = nullptr;
TR_Type *R_Type = nullptr;
TR_Color *R_Color = nullptr;
TR_Department *R_Department = nullptr;
TR_Duty *R_Duty = nullptr;

namespace {

using Size = QueryScreenSetup::Size;

QueryItem text(const QString &caption, const QString &whereFragment)
{
    return QueryItem::text(caption, whereFragment);
}

QueryItem date(const QString &caption, const QString &whereFragment)
{
    return QueryItem::date(caption, whereFragment);
}

// A business partner's screen: customers and suppliers differ only in their words.
QueryScreenSetup partnerSetup(const QString &name, const QString &caption,
                              const QString &table, const QString &who)
{
    const QString id = who + u"編號"_s;
    return {
        .name = name,
        .caption = caption,
        .size = Size::Large,
        .table = table,
        .selectLines = {u"select %1ID as %2, %1AttribName as %3簡稱, %1Name as %3名稱, "
                        u"EarNo as 統一編號, JoinMan as 聯絡人"_s.arg(table, id, who),
                        u", Tel as 電話, CellPhone as 手機, Fax as 傳真, CompanyAddress as "
                        u"公司地址, DeliveryAddress as 送貨地址, LastDeliveryDate as 最後交易日 "_s},
        .fromLine = u"from "_s + table,
        .items = {text(id, u"from %1 where %1ID ="_s.arg(table)),
                  text(who + u"名稱"_s, u"from %1 where %1Name ="_s.arg(table)),
                  text(u"統一編號"_s, u"from %1 where EarNo ="_s.arg(table)),
                  date(u"最後交易日"_s, u"from %1 where LastDeliveryDate ="_s.arg(table))},
        .widths = {{0, 100}, {2, 150}},
        .keyTitle = id,
        .keyField = table + u"ID"_s,
    };
}

// A code table's screen: its number and name, and on some a third column; narrow.
QueryScreenSetup codeTableSetup(const QString &name, const QString &caption,
                                const QString &table, const QString &column,
                                const QString &what, const QString &memoTitle = {})
{
    const QString id = column + u"ID"_s, title = what + u"編號"_s;
    QString select = u"select %1 as %2, %3Name as %4名稱"_s.arg(id, title, column, what);
    QList<std::pair<int, int>> widths{{0, 100}, {1, 100}};
    if (!memoTitle.isEmpty()) {
        select += u", Memo as "_s + memoTitle;
        widths.append({2, 100});
    }
    return {
        .name = name,
        .caption = caption,
        .size = Size::Small,
        .table = table,
        .selectLines = {select + u" "_s},
        .fromLine = u"from "_s + table,
        .items = {text(title, u"from %1 where %2 ="_s.arg(table, id)),
                  text(what + u"名稱"_s, u"from %1 where %2Name ="_s.arg(table, column))},
        .widths = widths,
        .keyTitle = title,
        .keyField = id,
    };
}

QueryScreenSetup productSetup()
{
    return {
        .name = u"R_product"_s,
        .caption = u"商品查詢"_s,
        .size = Size::Large,
        .table = u"Product"_s,
        .selectLines = {u"select ProductID as 商品編號, ProductName as 商品名稱, TypeName as "
                        u"類別, UnitName as 單位, ColorName as 顏色"_s,
                        u", Stock as 存量, SafeStock as 安全存量, PriceA as 價格A, PriceB as "
                        u"價格B, PriceC as 價格C, LastPurchaseDate as 最近進貨日, "
                        u"LastDeliveryDate as 最近出貨日 "_s},
        .fromLine = u"from Product"_s,
        .items = {text(u"商品編號"_s, u"from Product where ProductID ="_s),
                  text(u"商品名稱"_s, u"from Product where ProductName ="_s),
                  text(u"商品類別"_s, u"from Product where TypeName ="_s),
                  date(u"最近進貨日"_s, u"from Product where LastPurchaseDate ="_s),
                  date(u"最近出貨日"_s, u"from Product where LastDeliveryDate ="_s)},
        .widths = {{0, 100}, {1, 150}, {3, 50}, {4, 50}},
        .keyTitle = u"商品編號"_s,
        .keyField = u"ProductID"_s,
    };
}

QueryScreenSetup employeeSetup()
{
    return {
        .name = u"R_employee"_s,
        .caption = u"員工查詢"_s,
        .size = Size::Large,
        .table = u"Employee"_s,
        .selectLines = {u"select EmployeeID as 員工編號, EmployeeName as 員工姓名, ID as "
                        u"身份證字號, Birthday as 出生日期, Sex as 性別, Blood as 血型"_s,
                        u", Marriage as 婚姻狀態, JoinMan as 聯絡人, Address as 地址, Tel as "
                        u"電話, DepartmentName as 部門名稱, BirthPlace as 籍貫, Antecedent as "
                        u"學歷, DutyName as 工作職務, ArriveDate as 到職日, LeaveDate as 離職日, "
                        u"Career as 經歷  "_s},
        .fromLine = u"from Employee"_s,
        .items = {text(u"員工編號"_s, u"from Employee where EmployeeID ="_s),
                  text(u"身份證字號"_s, u"from Employee where ID ="_s),
                  text(u"部門名稱"_s, u"from Employee where DepartmentName ="_s)},
        .widths = {{0, 100}, {2, 100}},
        .keyTitle = u"員工編號"_s,
        .keyField = u"EmployeeID"_s,
        .keepResultOnCancel = true, // its maintenance screen stays open under it
    };
}

} // namespace

TR_product::TR_product() : QueryScreen(productSetup()) {}

TR_customer::TR_customer()
    : QueryScreen(partnerSetup(u"R_customer"_s, u"客戶查詢"_s, u"Customer"_s, u"客戶"_s))
{
}

TR_Supplier::TR_Supplier()
    : QueryScreen(partnerSetup(u"R_Supplier"_s, u"廠商查詢"_s, u"Supplier"_s, u"廠商"_s))
{
}

TR_employee::TR_employee() : QueryScreen(employeeSetup()) {}

TR_Unit::TR_Unit()
    : QueryScreen(codeTableSetup(u"R_Unit"_s, u"單位查詢"_s, u"Unit"_s, u"Unit"_s, u"單位"_s,
                                 u"說明"_s))
{
}

TR_Type::TR_Type()
    : QueryScreen(codeTableSetup(u"R_Type"_s, u"類別查詢"_s, u"ProductType"_s, u"Type"_s,
                                 u"類別"_s))
{
}

TR_Color::TR_Color()
    : QueryScreen(codeTableSetup(u"R_Color"_s, u"顏色查詢"_s, u"Color"_s, u"Color"_s,
                                 u"顏色"_s))
{
}

TR_Department::TR_Department()
    : QueryScreen(codeTableSetup(u"R_Department"_s, u"部門查詢"_s, u"Department"_s,
                                 u"Department"_s, u"部門"_s))
{
}

TR_Duty::TR_Duty()
    : QueryScreen(codeTableSetup(u"R_Duty"_s, u"職務查詢"_s, u"Duty"_s, u"Duty"_s, u"職務"_s,
                                 u"職務說明"_s))
{
}

} // namespace tb
