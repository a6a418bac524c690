#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace tb {

class DataSource;
class DBEdit;

// Colour code of the boxes, shared by every screen that edits records.
namespace fieldcolor {
inline const QColor Generated = QColor(0xFF, 0xFF, 0x00); // yellow: identifier
inline const QColor Required = QColor(0xA6, 0xCA, 0xF0);  // sky blue: must be filled
inline const QColor Written = QColor(0xC0, 0xDC, 0xC0);   // money green: the system writes it
inline const QColor Optional = QColor(0xFF, 0xFF, 0xFF);  // white: may stay empty
} // namespace fieldcolor

// Paints a box's background, enabled or not.
void setBoxColor(QWidget *box, const QColor &color);

// A box bound to a field of the source, named, coloured, typed into in Chinese.
DBEdit *newBoundEdit(QWidget *parent, const QString &name, DataSource *source,
                     const QString &field, const QColor &color);

} // namespace tb
