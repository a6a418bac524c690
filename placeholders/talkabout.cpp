#include "placeholders/talkabout.h"

namespace tb {

Ttalkabout *talkabout = nullptr;

Ttalkabout::Ttalkabout()
    : PlaceholderWindow(QStringLiteral("talkabout"), QPoint(192, 114), QPoint(8, 320))
{
}

} // namespace tb
