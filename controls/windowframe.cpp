#include "controls/windowframe.h"

#include <QWidget>

namespace tb {

void placeWindow(QWidget *window, int left, int top, int outerWidth, int outerHeight)
{
    window->move(left, top);
    window->resize(outerWidth - FrameExtraWidth, outerHeight - FrameExtraHeight);
}

} // namespace tb
