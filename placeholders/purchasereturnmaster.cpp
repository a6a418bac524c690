#include "placeholders/purchasereturnmaster.h"

namespace tb {

Tpurchasereturnmaster *purchasereturnmaster = nullptr;

Tpurchasereturnmaster::Tpurchasereturnmaster()
    : PlaceholderWindow(QStringLiteral("purchasereturnmaster"), QPoint(192, 114), QPoint(48, 328))
{
}

} // namespace tb
