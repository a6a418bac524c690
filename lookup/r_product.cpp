#include "lookup/r_product.h"

#include "maintenance/product.h"

namespace tb {

TR_product *R_product = nullptr;

TR_product::TR_product()
    : QueryScreen(QStringLiteral("R_product"), QStringLiteral("商品查詢"), Size::Large,
                  [] () -> QWidget * { return Product; })
{
}

} // namespace tb
