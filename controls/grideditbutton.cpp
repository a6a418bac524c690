#include "controls/grideditbutton.h"

namespace tb {

GridEditButton::GridEditButton(QWidget *viewport) : QToolButton(viewport)
{
    setObjectName(QStringLiteral("EditButton"));
    setText(QStringLiteral("..."));
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void GridEditButton::placeOver(const QRect &cell)
{
    if (cell.isEmpty() || !parentWidget()->rect().intersects(cell)) {
        hide();
        return;
    }
    const int side = cell.height();
    setGeometry(cell.right() - side + 1, cell.top(), side, side);
    show();
    raise();
}

} // namespace tb
