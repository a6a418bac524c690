#pragma once

#include "controls/boundbox.h"
#include "controls/recordtoolbar.h"
#include "controls/workwindow.h"
#include "data/records/recordrules.h"
#include "maintenance/nextid.h"

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QLayout;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace tb {

class DataSource;
class DBEdit;
class DBMemo;
class TableCursor;

// One check of a save: the test on what the screen shows, and the message when it fails.
struct RequiredCheck
{
    std::function<bool()> passes;
    QString message;

    // The box's text must not be empty (a blank is content).
    static RequiredCheck filled(const QLineEdit *box, const QString &message);
    // One of the two boxes must not be empty; the second is looked at only when the first
    // is.
    static RequiredCheck eitherFilled(const QLineEdit *first, const QLineEdit *second,
                                      const QString &message);
};

// What distinguishes one record maintenance screen from another.
struct RecordScreenSetup
{
    QString name;     // objectName of the window, also its instance name ("Product")
    QString caption;  // window caption ("商品資料")
    QString tableName;
    QString identifierField; // "ProductID"
    IdentifierRule identifier;  // {"PR", 6}
    QString indexFieldNames;    // reading order; empty for the table's default order
    RecordToolBar::Order toolbarOrder = RecordToolBar::Order::Standard;
    QString closeButtonName;    // "Button1"
    int closeButtonWidth = 0;   // 0: as wide as its caption needs
    // The query screen "查詢" hands over to; looked up when pressed, since the query
    // screens are created after the maintenance screens.
    std::function<QWidget *()> queryScreen;
    bool keepVisibleOnSearch = false; // the employee screen stays under its query screen
};

// The record maintenance pattern shared by the product, customer, supplier, employee and
// code-table screens: the toolbar and its two modes, the next-identifier insert, the
// confirmed delete, edit, the checked save, cancel, the hand-over to the query screen and
// the close button. A screen derives from it, adds its boxes below the toolbar (into
// contentLayout()), names the controls its editing mode enables and lists its checks.
//
// Browse mode: navigation, insert, delete, edit, search and close enabled; save, cancel
// and the screen's editing controls disabled. Editing mode: the reverse. The table is
// open in editing mode; save and cancel close it again.
//
// The checks guard every post of Table1, not only the one "儲存" makes: a record put into
// edit by a box that stays enabled in browse mode, or posted by a query screen that moves
// the table, is refused with the first failing check's message. A post or cancel that
// comes from outside the toolbar (a query screen moving the table) ends the editing mode.
// The screen is Table1's rules; a screen with checks of its own overrides them.
class RecordScreen : public WorkWindow, private RecordRules
{
    Q_OBJECT
public:
    explicit RecordScreen(const RecordScreenSetup &setup);
    ~RecordScreen() override;

    // Navigation acts only while the table is open and browsing.
    virtual void sbFirstClick();
    virtual void sbPriorClick();
    virtual void sbNextClick();
    virtual void sbLastClick();
    // New record with the next identifier; editing mode.
    virtual void sbInsertClick();
    // Asks first; deletes the current record when there is one.
    virtual void sbDeleteClick();
    // Opens the table, edits its current record if it has one; editing mode in any case.
    virtual void sbEditClick();
    // The checks in order (the first failing one shows its message and stops), then post,
    // browse mode and the table closed. A refused post leaves everything in editing mode.
    virtual void sbPostClick();
    // Cancels, browse mode, table closed.
    virtual void sbCancelClick();
    // Shows the query screen and hides this one (unless the screen stays visible).
    virtual void sbRefreshClick();

    bool isEditingMode() const { return m_editing; }
    // A record of Table1 is in edit or insert, whatever the mode.
    bool recordEditing() const;
    // Opens Table1 and moves it onto the record whose field holds the key (it stays where
    // it is when none does).
    void openAt(const QString &field, const QString &key);

    // A record put into edit by a box that stays enabled while browsing, not by "新增" or
    // "修改", is posted through the save's checks. A refusal shows the check's message and
    // throws (a silent abort), the record staying in edit: whoever was about to leave it
    // (the close button, a query screen moving the table) stops where it is.
    void postAutomaticEdit();

    static const QString DeleteQuestion; // "您要刪除此筆資料嗎?"
    // "編號 %1 已被使用,本筆資料已改以編號 %2 儲存。"
    static const QString NumberTakenMessage;

protected:
    // The screens built on the pattern bind their boxes to it and set its rules.
    TableCursor *Table1;
    DataSource *DataSource1;

    QPushButton *closeButton() const;
    // Below the toolbar; the screen puts its boxes here.
    QVBoxLayout *contentLayout() const { return m_layout; }

    // Controls enabled only in editing mode (applied at once).
    void setEditingControls(const QList<QWidget *> &controls);
    void setRequiredChecks(const QList<RequiredCheck> &checks);
    void setEditingMode(bool editing);

    // Runs the handler, guarded, when the button is clicked.
    void onClick(QAbstractButton *button, std::function<void()> handler);

    // A box bound to a field of Table1, in its colour, asking for the Cangjie input method,
    // disabled until the screen's mode enables it.
    DBEdit *boundBox(QWidget *parent, const QString &name, const QString &field,
                     const QColor &color, bool readOnly = false);
    DBMemo *boundMemo(QWidget *parent, const QString &name, const QString &field);
    // A "▼" button that opens a pick-list beside a box.
    static QPushButton *makePickButton(QWidget *parent, const QString &name);
    // The caption label above its box, and the box's companion (a list, a date picker, a
    // pick button) right beside it.
    static QLayout *captioned(QWidget *parent, const QString &caption, QWidget *box,
                              QWidget *companion = nullptr);

    // The close button's work: keep what was typed while browsing (postAutomaticEdit), then
    // close the table, hide this screen, show the main window.
    void closeScreen();

    // A number box whose exit check failed: emptied, and the focus given back to it.
    void refuseLeaving(QLineEdit *box);

private:
    bool tableBrowsing() const;
    bool tableEditing() const;
    void endEditing();
    // Posts Table1; a new record whose number another copy of the application has stored
    // meanwhile takes the next free number. Returns the message that tells the user which,
    // or nothing when the number stayed.
    QString postTakingAFreeNumber();
    QString lastStoredIdentifier() const;
    // The first failing check shows its message; false then.
    bool runChecks() const;
    // Table1's check before a post: a record the checks refuse is not written.
    void beforePost(DataSet &) override { checkBeforePost(); }
    void checkBeforePost();
    // Table1 left edit or insert: editing mode ends with it unless save or cancel is at work.
    void followTable();
    // Disabling the box under the focus may have left the focus nowhere or on a disabled
    // control; it goes on to the first enabled control of the tab order.
    void keepFocusEnabled(QWidget *hadFocus);

    // The toolbar hands its buttons over to the members of the same names.
    template<typename Screen>
    friend void takeToolBarButtons(Screen &screen, const RecordToolBar &bar);

    RecordToolBar *ToolBar;
    QToolButton *sbFirst, *sbPrior, *sbNext, *sbLast, *sbInsert, *sbDelete, *sbEdit, *sbPost,
        *sbCancel, *sbRefresh;

    RecordScreenSetup m_setup;
    QVBoxLayout *m_layout;
    QList<QWidget *> m_editingControls;
    QList<RequiredCheck> m_checks;
    bool m_editing = false;
    bool m_finishing = false; // save or cancel is ending the edit
};

} // namespace tb
