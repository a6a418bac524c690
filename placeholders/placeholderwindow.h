#pragma once

#include "controls/workwindow.h"

class QPushButton;

namespace tb {

// A window that holds a menu entry's place: a caption (its instance name) and a close
// button that returns to the main window.
class PlaceholderWindow : public WorkWindow
{
    Q_OBJECT
public:
    PlaceholderWindow(const QString &name, QPoint position, QPoint closeButtonPosition);

    QPushButton *Button1;

    void Button1Click();
};

} // namespace tb
