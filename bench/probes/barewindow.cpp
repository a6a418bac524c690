// A bare Qt window application: the reference the application's whole start-up is held to.

#include "quitwhenshown.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuitWhenShown quit;
    app.installEventFilter(&quit);
    QWidget window;
    window.resize(593, 379);
    window.show();
    return app.exec();
}
