#include "placeholders/accountpayablemaster.h"

namespace tb {

Taccountpayablemaster *accountpayablemaster = nullptr;

Taccountpayablemaster::Taccountpayablemaster()
    : PlaceholderWindow(QStringLiteral("accountpayablemaster"), QPoint(192, 114), QPoint(88, 272))
{
}

} // namespace tb
