#include "placeholders/panshuan.h"

namespace tb {

Tpanshuan *panshuan = nullptr;

Tpanshuan::Tpanshuan()
    : PlaceholderWindow(QStringLiteral("panshuan"), QPoint(192, 114), QPoint(0, 344))
{
}

} // namespace tb
