#include "lookup/r_type.h"

#include "maintenance/producttype.h"

namespace tb {

TR_Type *R_Type = nullptr;

TR_Type::TR_Type()
    : QueryScreen(QStringLiteral("R_Type"), QStringLiteral("類別查詢"), Size::Small,
                  [] () -> QWidget * { return ProductType; })
{
}

} // namespace tb
