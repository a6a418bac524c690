#include "lookup/r_unit.h"

#include "maintenance/punit.h"

namespace tb {

TR_Unit *R_Unit = nullptr;

TR_Unit::TR_Unit()
    : QueryScreen(QStringLiteral("R_Unit"), QStringLiteral("單位查詢"), Size::Small,
                  [] () -> QWidget * { return punit; })
{
}

} // namespace tb
