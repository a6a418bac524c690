#include "lookup/r_employee.h"

#include "maintenance/employee.h"

namespace tb {

TR_employee *R_employee = nullptr;

TR_employee::TR_employee()
    : QueryScreen(QStringLiteral("R_employee"), QStringLiteral("員工查詢"), Size::Large,
                  [] () -> QWidget * { return employee; })
{
}

} // namespace tb
