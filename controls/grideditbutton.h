#pragma once

#include <QToolButton>

namespace tb {

// The ellipsis button of a grid cell that has one (GridColumn::editButton), kept over the
// right end of the current cell. It never takes the focus, so the cell keeps its editor.
class GridEditButton : public QToolButton
{
public:
    explicit GridEditButton(QWidget *viewport);

    // Shows the button over the cell's right end; hides it while the cell is out of view.
    void placeOver(const QRect &cell);
};

} // namespace tb
