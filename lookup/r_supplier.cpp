#include "lookup/r_supplier.h"

#include "maintenance/supplier.h"

namespace tb {

TR_Supplier *R_Supplier = nullptr;

TR_Supplier::TR_Supplier()
    : QueryScreen(QStringLiteral("R_Supplier"), QStringLiteral("廠商查詢"), Size::Large,
                  [] () -> QWidget * { return Supplier; })
{
}

} // namespace tb
