#include "lookup/r_department.h"

#include "maintenance/department.h"

namespace tb {

TR_Department *R_Department = nullptr;

TR_Department::TR_Department()
    : QueryScreen(QStringLiteral("R_Department"), QStringLiteral("部門查詢"), Size::Small,
                  [] () -> QWidget * { return department; })
{
}

} // namespace tb
