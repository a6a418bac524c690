#include "app/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QString message;
    if (!tb::displayAvailable(&message)) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return 2;
    }
    QApplication app(argc, argv);
    return tb::runApplication(app);
}
