#pragma once

#include <QToolButton>
#include <QWidget>

class QPushButton;

namespace tb {

// The row of ten speed buttons (sbFirst ... sbRefresh) and a close push button that the
// maintenance and document screens share. Buttons are 50 x 29 in "細明體" 9 pt, take no
// focus and carry their names as objectName; the screen connects their clicks to its
// handlers.
class RecordToolBar : public QWidget
{
    Q_OBJECT
public:
    enum class Order { Standard, ProductScreen };

    // refreshCaption: "查詢" on most screens, "更新" on the order-like windows.
    // closeButtonWidth: the screen's width for its close button; 0 leaves the button as
    // wide as its caption needs.
    RecordToolBar(QWidget *parent, Order order, const QString &refreshCaption,
                  const QString &closeButtonName, int closeButtonWidth = 0);

    QToolButton *sbFirst, *sbPrior, *sbNext, *sbLast, *sbInsert, *sbDelete, *sbEdit,
        *sbPost, *sbCancel, *sbRefresh;
    QPushButton *closeButton;

    // Browse mode enables navigation, insert, delete, edit, refresh and close and disables
    // post and cancel; editing mode the reverse.
    void setEditingMode(bool editing);
    bool editingMode() const;

    // The quotation screen keeps "新增" usable in editing mode (pressing it again only
    // repeats the switch).
    void setInsertEnabledWhileEditing(bool enabled);

private:
    bool m_editing = false;
    bool m_insertEnabledWhileEditing = false;
};

// Gives a screen's members sbFirst ... sbRefresh the toolbar's buttons, as the screens name them.
template<typename Screen>
void takeToolBarButtons(Screen &screen, const RecordToolBar &bar)
{
    screen.sbFirst = bar.sbFirst;
    screen.sbPrior = bar.sbPrior;
    screen.sbNext = bar.sbNext;
    screen.sbLast = bar.sbLast;
    screen.sbInsert = bar.sbInsert;
    screen.sbDelete = bar.sbDelete;
    screen.sbEdit = bar.sbEdit;
    screen.sbPost = bar.sbPost;
    screen.sbCancel = bar.sbCancel;
    screen.sbRefresh = bar.sbRefresh;
}

} // namespace tb
