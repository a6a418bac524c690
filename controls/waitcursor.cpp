#include "controls/waitcursor.h"

#include <QApplication>
#include <QCursor>

namespace tb {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace tb
