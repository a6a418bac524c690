#include "lookup/r_color.h"

#include "maintenance/pcolor.h"

namespace tb {

TR_Color *R_Color = nullptr;

TR_Color::TR_Color()
    : QueryScreen(QStringLiteral("R_Color"), QStringLiteral("顏色查詢"), Size::Small,
                  [] () -> QWidget * { return Pcolor; })
{
}

} // namespace tb
