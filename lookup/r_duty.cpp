#include "lookup/r_duty.h"

#include "maintenance/duty.h"

namespace tb {

TR_Duty *R_Duty = nullptr;

TR_Duty::TR_Duty()
    : QueryScreen(QStringLiteral("R_Duty"), QStringLiteral("職務查詢"), Size::Small,
                  [] () -> QWidget * { return Duty; })
{
}

} // namespace tb
