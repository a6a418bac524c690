#include "placeholders/requestbuymaster.h"

namespace tb {

TRequestbuymaster *Requestbuymaster = nullptr;

TRequestbuymaster::TRequestbuymaster()
    : PlaceholderWindow(QStringLiteral("Requestbuymaster"), QPoint(207, 159), QPoint(80, 328))
{
}

} // namespace tb
