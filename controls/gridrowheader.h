#pragma once

#include <QHeaderView>

namespace tb {

// The row indicator column of a grid: a fixed width, and rows of one height. Its size is
// known without measuring its sections (a plain header measures up to 200 of them, with the
// font, each time the grid lays itself out).
class GridRowHeader : public QHeaderView
{
    Q_OBJECT
public:
    GridRowHeader(int width, QWidget *parent);

    QSize sizeHint() const override;

private:
    int m_width;
};

} // namespace tb
