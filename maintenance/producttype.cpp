#include "maintenance/producttype.h"

#include "maintenance/codetables.h"

namespace tb {

TProductType *ProductType = nullptr;

TProductType::TProductType()
    : CodeTableScreen(codeTableSetup(CodeTable::ProductType))
{
    Button2 = closeButton();
}

} // namespace tb
