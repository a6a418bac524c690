#pragma once

#include "controls/workwindow.h"

#include <QPoint>
#include <QString>

class QPushButton;

namespace tb {

// A window that holds a menu entry's place: a caption (its instance name) and a close
// button that returns to the main window.
class PlaceholderWindow : public WorkWindow
{
    Q_OBJECT
public:
    struct Setup
    {
        QString name; // objectName, instance name and caption
        QPoint position;
        QPoint closeButton;
    };

    explicit PlaceholderWindow(const Setup &setup);

    void Button1Click();

private:
    QPushButton *Button1;
};

} // namespace tb
