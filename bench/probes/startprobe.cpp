// The application's own start-up, from process start to its main window on the screen, then
// out: timed as a whole process by the benchmark, against a bare Qt window.

#include "app/startup.h"
#include "quitwhenshown.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuitWhenShown quit;
    app.installEventFilter(&quit);
    return tb::runApplication(app);
}
