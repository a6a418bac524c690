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

    // Menu entries: each hides this window and shows its target window.
    void N25Click(); void N26Click(); void N28Click(); void N5Click();
    void N6Click(); void N1Click(); void N2Click(); void N3Click();
    void N4Click(); void N8Click(); void N9Click(); void N10Click();
    void N11Click(); void N13Click(); void N14Click(); void N15Click();
    void N16Click(); void N18Click(); void N19Click(); void N21Click();
    void N22Click();
    // Exit: closing this window ends the application, without asking.
    void N23Click();
    // Hides this window and shows the target of a menu entry; without a target (start-up
    // failed to make it) this window stays.
    void showInstead(QWidget *target);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();

    QLabel *Image1;
    QMenuBar *MainMenu1;
};

extern Tmain *main;

} // namespace tb
