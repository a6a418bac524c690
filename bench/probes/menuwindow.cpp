// A bare Qt window with the main window's text: the same size, font and seven Chinese menu
// captions, nothing else. The whole-process start-up is compared with it for reference: the
// first text a process draws sets up the font machinery (fontconfig, the CJK face), which a
// window without text never pays for.

#include "quitwhenshown.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuitWhenShown quit;
    app.installEventFilter(&quit);
    QMainWindow window;
    window.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    window.resize(593, 379);
    for (const char *caption : {"設定", "基本資料維護系統", "銷售管理系統", "進貨管理系統",
                                "應收/應付系統", "關於", "結束"})
        window.menuBar()->addMenu(QString::fromUtf8(caption));
    window.show();
    return app.exec();
}
