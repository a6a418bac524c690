#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;

namespace tb {

// The hub: a picture and the menu bar. Each menu entry hides this window and shows its
// target; the target's close button brings this window back.
class Tmain : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tmain(QWidget *parent = nullptr);

    QLabel *Image1;
    QMenuBar *MainMenu1;

    // Exit: closing this window ends the application, without asking.
    void N23Click();
    // Hides this window and shows the target of a menu entry.
    void showInstead(QWidget *target);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
};

extern Tmain *main;

// The application title: the main window's caption and the caption of plain messages.
QString applicationTitleText();

} // namespace tb
