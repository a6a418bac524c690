#include "maintenance/codetables.h"

#include "lookup/queryscreens.h"

#include <array>

namespace tb {

Tpunit *punit = nullptr;
TProductType *ProductType = nullptr;
TPcolor *Pcolor = nullptr;
Tdepartment *department = nullptr;
TDuty *Duty = nullptr;

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template<typename Screen>
std::function<QWidget *()> queryScreen(Screen *const &instance)
{
    // The query screens are created after the code-table screens: looked up when needed.
    return [&instance]() -> QWidget * { return instance; };
}

// Columns: name, caption, table, reading order, prefix, identifier caption and column,
// name caption and column, name box width, memo caption, close button, message, query
// screen. Every identifier has four digits.
std::array<CodeTableSetup, 5> makeSetups()
{
    return {{
        {text("punit"), text("產品單位設定"), text("Unit"), {}, text("UN"),
         text("單位編號"), text("UnitID"), text("單位名稱"), text("UnitName"), 264,
         text("說明"), text("Button1"), text("單位名稱不可為空白!"), queryScreen(R_Unit)},
        {text("ProductType"), text("商品類別設定"), text("ProductType"), {}, text("TY"),
         text("類別編號"), text("TypeID"), text("類別名稱"), text("TypeName"), 264,
         {}, text("Button2"), text("類別名稱不可為空白!"), queryScreen(R_Type)},
        {text("Pcolor"), text("產品顏色設定"), text("Color"), text("ColorID"), text("CO"),
         text("顏色編號"), text("ColorID"), text("顏色名稱"), text("ColorName"), 137,
         {}, text("Button1"), text("顏色名稱不可為空白!"), queryScreen(R_Color)},
        {text("department"), text("員工部門設定"), text("Department"), {}, text("DE"),
         text("部門編號"), text("DepartmentID"), text("部門名稱"), text("DepartmentName"),
         264, {}, text("Button2"), text("部門名稱不可為空白!"), queryScreen(R_Department)},
        {text("Duty"), text("員工職務設定"), text("Duty"), text("DutyID"), text("DU"),
         text("職務編號"), text("DutyID"), text("職務名稱"), text("DutyName"), 264,
         text("備註"), text("Button1"), text("職務名稱不可為空白!"), queryScreen(R_Duty)},
    }};
}

} // namespace

const CodeTableSetup &codeTableSetup(CodeTable table)
{
    static const std::array<CodeTableSetup, 5> setups = makeSetups();
    return setups[size_t(table)];
}

Tpunit::Tpunit() : CodeTableScreen(codeTableSetup(CodeTable::Unit)) {}

TProductType::TProductType() : CodeTableScreen(codeTableSetup(CodeTable::ProductType)) {}

TPcolor::TPcolor() : CodeTableScreen(codeTableSetup(CodeTable::Color)) {}

Tdepartment::Tdepartment() : CodeTableScreen(codeTableSetup(CodeTable::Department)) {}

TDuty::TDuty() : CodeTableScreen(codeTableSetup(CodeTable::Duty)) {}

} // namespace tb
