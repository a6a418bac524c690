#include "app/commandline.h"
#include "app/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (const std::optional<int> code = tb::CommandLine::run(argc, argv))
        return *code;
    QString message;
    if (!tb::displayAvailable(&message)) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return 2;
    }
    QApplication app(argc, argv);
    return tb::runApplication(app);
}
