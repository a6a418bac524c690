#pragma once

#include "controls/recordtoolbar.h"
#include "controls/workwindow.h"
#include "maintenance/nextid.h"

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace tb {

class DataSource;
class TableCursor;

// Colour code of the boxes, shared by every maintenance screen.
namespace fieldcolor {
inline const QColor Generated = QColor(0xFF, 0xFF, 0x00); // yellow: identifier
inline const QColor Required = QColor(0xA6, 0xCA, 0xF0);  // sky blue: must be filled
inline const QColor Written = QColor(0xC0, 0xDC, 0xC0);   // money green: the system writes it
inline const QColor Optional = QColor(0xFF, 0xFF, 0xFF);  // white: may stay empty
} // namespace fieldcolor

// Paints a box's background, enabled or not.
void setBoxColor(QWidget *box, const QColor &color);

// One check of a save: the test on what the screen shows, and the message when it fails.
struct RequiredCheck
{
    std::function<bool()> passes;
    QString message;

    // The box's text must not be empty (a blank is content).
    static RequiredCheck filled(const QLineEdit *box, const QString &message);
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
class RecordScreen : public WorkWindow
{
    Q_OBJECT
public:
    explicit RecordScreen(const RecordScreenSetup &setup);
    ~RecordScreen() override;

    TableCursor *Table1;
    DataSource *DataSource1;
    RecordToolBar *ToolBar;
    QToolButton *sbFirst, *sbPrior, *sbNext, *sbLast, *sbInsert, *sbDelete, *sbEdit, *sbPost,
        *sbCancel, *sbRefresh;

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

    static const QString DeleteQuestion; // "您要刪除此筆資料嗎?"

protected:
    QPushButton *closeButton() const;
    // Below the toolbar; the screen puts its boxes here.
    QVBoxLayout *contentLayout() const { return m_layout; }

    // Controls enabled only in editing mode (applied at once).
    void setEditingControls(const QList<QWidget *> &controls);
    void setRequiredChecks(const QList<RequiredCheck> &checks);
    void setEditingMode(bool editing);

    // Runs the handler, guarded, when the button is clicked.
    void onClick(QAbstractButton *button, std::function<void()> handler);

    // The close button's work: close the table, hide this screen, show the main window.
    void closeScreen();

private:
    bool tableBrowsing() const;
    bool tableEditing() const;
    void endEditing();

    RecordScreenSetup m_setup;
    QVBoxLayout *m_layout;
    QList<QWidget *> m_editingControls;
    QList<RequiredCheck> m_checks;
    bool m_editing = false;
};

} // namespace tb
