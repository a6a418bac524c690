#include "placeholders/buymaster.h"

namespace tb {

Tbuymaster *buymaster = nullptr;

Tbuymaster::Tbuymaster()
    : PlaceholderWindow(QStringLiteral("buymaster"), QPoint(192, 114), QPoint(16, 344))
{
}

} // namespace tb
