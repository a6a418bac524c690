#include "lookup/r_customer.h"

#include "maintenance/customer.h"

namespace tb {

TR_customer *R_customer = nullptr;

TR_customer::TR_customer()
    : QueryScreen(QStringLiteral("R_customer"), QStringLiteral("客戶查詢"), Size::Large,
                  [] () -> QWidget * { return Customer; })
{
}

} // namespace tb
