#include "controls/gridrowheader.h"

namespace tb {

GridRowHeader::GridRowHeader(int width, QWidget *parent)
    : QHeaderView(Qt::Vertical, parent), m_width(width)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setFixedWidth(width);
    setDefaultAlignment(Qt::AlignCenter);
}

QSize GridRowHeader::sizeHint() const
{
    return {m_width, defaultSectionSize()};
}

} // namespace tb
