#include "app/commandline.h"
#include "app/copycommand.h"
#include "app/startup.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (tb::isCopyCommand(arguments)) {
        QCoreApplication app(argc, argv); // no window: it runs in a terminal
        return tb::runCopyCommand(arguments);
    }
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
