#include "placeholders/accountreceivablemaster.h"

namespace tb {

Taccountreceivablemaster *accountreceivablemaster = nullptr;

Taccountreceivablemaster::Taccountreceivablemaster()
    : PlaceholderWindow(QStringLiteral("accountreceivablemaster"),
                        QPoint(192, 114), QPoint(16, 304))
{
}

} // namespace tb
