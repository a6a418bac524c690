#include "placeholders/purchasemaster.h"

namespace tb {

Tpurchasemaster *purchasemaster = nullptr;

Tpurchasemaster::Tpurchasemaster()
    : PlaceholderWindow(QStringLiteral("purchasemaster"), QPoint(192, 114), QPoint(0, 320))
{
}

} // namespace tb
