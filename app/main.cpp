#include "app/commandline.h"
#include "app/startup.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(tb::CommandLine::version());
    // Options are read before any application object exists: --help and the tools need
    // no display, and a mistyped option never opens the window a script would wait on.
    if (const std::optional<int> code = tb::CommandLine::run(argc, argv))
        return *code;
    QString message;
    if (!tb::displayAvailable(&message)) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return 2;
    }
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TRADEBOOK_APP_ID));
    QApplication app(argc, argv);
    return tb::runApplication(app);
}
