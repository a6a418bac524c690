#include "maintenance/recordscreen.h"

#include "controls/dbedit.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/recordconflict.h"
#include "controls/waitcursor.h"
#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/records/tablecursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tb {

const QString RecordScreen::DeleteQuestion = QStringLiteral("您要刪除此筆資料嗎?");
const QString RecordScreen::NumberTakenMessage =
    QStringLiteral("編號 %1 已被使用,本筆資料已改以編號 %2 儲存。");

RequiredCheck RequiredCheck::filled(const QLineEdit *box, const QString &message)
{
    return {[box] { return !box->text().isEmpty(); }, message};
}

RequiredCheck RequiredCheck::eitherFilled(const QLineEdit *first, const QLineEdit *second,
                                          const QString &message)
{
    return {[first, second] { return !first->text().isEmpty() || !second->text().isEmpty(); },
            message};
}

RecordScreen::RecordScreen(const RecordScreenSetup &setup)
    : WorkWindow(setup.name, setup.caption, Frame::NoCaptionButtons)
    , m_setup(setup)
{
    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(setup.tableName);
    if (!setup.indexFieldNames.isEmpty())
        Table1->setIndexFieldNames(setup.indexFieldNames);
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);
    // A screen with its own check before a post (the product screen) checks in "儲存" only.
    Table1->setRules(this);
    connect(Table1, &DataSet::posted, this, &RecordScreen::followTable);
    connect(Table1, &DataSet::cancelled, this, &RecordScreen::followTable);

    ToolBar = new RecordToolBar(this, setup.toolbarOrder, QStringLiteral("查詢"),
                                setup.closeButtonName, setup.closeButtonWidth);
    takeToolBarButtons(*this, *ToolBar);

    const QList<std::pair<QToolButton *, void (RecordScreen::*)()>> handlers{
        {sbFirst, &RecordScreen::sbFirstClick},   {sbPrior, &RecordScreen::sbPriorClick},
        {sbNext, &RecordScreen::sbNextClick},     {sbLast, &RecordScreen::sbLastClick},
        {sbInsert, &RecordScreen::sbInsertClick}, {sbDelete, &RecordScreen::sbDeleteClick},
        {sbEdit, &RecordScreen::sbEditClick},     {sbPost, &RecordScreen::sbPostClick},
        {sbCancel, &RecordScreen::sbCancelClick}, {sbRefresh, &RecordScreen::sbRefreshClick},
    };
    for (const auto &[button, handler] : handlers)
        onClick(button, [this, h = handler] { (this->*h)(); });

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(ToolBar);
    m_layout = new QVBoxLayout;
    outer->addLayout(m_layout, 1);

    setEditingMode(false);
}

RecordScreen::~RecordScreen() = default;

QPushButton *RecordScreen::closeButton() const
{
    return ToolBar->closeButton;
}

void RecordScreen::onClick(QAbstractButton *button, std::function<void()> handler)
{
    connectGuarded(button, &QAbstractButton::clicked, this, std::move(handler));
}

DBEdit *RecordScreen::boundBox(QWidget *parent, const QString &name, const QString &field,
                               const QColor &color, bool readOnly)
{
    DBEdit *box = newBoundEdit(parent, name, DataSource1, field, color);
    box->setReadOnly(readOnly);
    box->setEnabled(false);
    return box;
}

DBMemo *RecordScreen::boundMemo(QWidget *parent, const QString &name, const QString &field)
{
    auto *memo = new DBMemo(parent);
    memo->setObjectName(name);
    memo->setDataSource(DataSource1);
    memo->setDataField(field);
    memo->setEnabled(false);
    setBoxColor(memo, fieldcolor::Optional);
    setInputMethodName(memo, ime::Cangjie);
    return memo;
}

QPushButton *RecordScreen::makePickButton(QWidget *parent, const QString &name)
{
    auto *button = new QPushButton(QStringLiteral("▼"), parent);
    button->setObjectName(name);
    button->setFixedSize(17, 20);
    button->setAutoDefault(false);
    button->setEnabled(false);
    return button;
}

QLayout *RecordScreen::captioned(QWidget *parent, const QString &caption, QWidget *box,
                                 QWidget *companion)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(box);
    if (auto *edit = qobject_cast<DBEdit *>(box))
        edit->setCaption(caption);
    auto *layout = new QVBoxLayout;
    layout->setSpacing(1);
    layout->addWidget(label);
    if (!companion) {
        layout->addWidget(box);
        return layout;
    }
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(box, 1);
    row->addWidget(companion);
    layout->addLayout(row);
    return layout;
}

void RecordScreen::setEditingControls(const QList<QWidget *> &controls)
{
    m_editingControls = controls;
    setEditingMode(m_editing);
}

void RecordScreen::setRequiredChecks(const QList<RequiredCheck> &checks)
{
    m_checks = checks;
}

void RecordScreen::setEditingMode(bool editing)
{
    QWidget *hadFocus = focusWidget();
    m_editing = editing;
    ToolBar->setEditingMode(editing);
    for (QWidget *control : std::as_const(m_editingControls))
        control->setEnabled(editing);
    keepFocusEnabled(hadFocus);
}

void RecordScreen::keepFocusEnabled(QWidget *hadFocus)
{
    const QWidget *now = focusWidget();
    if (!hadFocus || (now && now->isEnabled()))
        return;
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(this)
            && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void RecordScreen::refuseLeaving(QLineEdit *box)
{
    box->setText(QString());
    // The message box has moved the focus around; take it back once it has settled.
    box->setFocus(Qt::OtherFocusReason);
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

bool RecordScreen::tableBrowsing() const
{
    return Table1->Active() && Table1->State() == DataSetState::Browse;
}

bool RecordScreen::tableEditing() const
{
    return Table1->Editing();
}

bool RecordScreen::recordEditing() const
{
    return tableEditing();
}

void RecordScreen::openAt(const QString &field, const QString &key)
{
    Table1->Open();
    Table1->Locate(field, key);
}

void RecordScreen::sbFirstClick()
{
    if (tableBrowsing())
        Table1->First();
}

void RecordScreen::sbPriorClick()
{
    if (tableBrowsing())
        Table1->Prior();
}

void RecordScreen::sbNextClick()
{
    if (tableBrowsing())
        Table1->Next();
}

void RecordScreen::sbLastClick()
{
    if (tableBrowsing())
        Table1->Last();
}

void RecordScreen::sbInsertClick()
{
    Table1->Open();
    Table1->Last();
    const QString last = Table1->FieldByName(m_setup.identifierField)->AsString();
    // A tail that is not a number throws here, before anything is inserted.
    const std::optional<QString> id = nextIdentifier(last, m_setup.identifier);
    if (!id) {
        ShowMessage(identifiersExhaustedMessage(last));
        return;
    }
    Table1->Insert();
    try {
        Table1->FieldByName(m_setup.identifierField)->setAsString(*id);
    } catch (...) {
        // A record without its identifier must not stay behind in browse mode.
        Table1->Cancel();
        throw;
    }
    setEditingMode(true);
}

void RecordScreen::sbDeleteClick()
{
    if (!AskYesNoDefaultNo(DeleteQuestion))
        return;
    if (Table1->Active() && Table1->HasCurrentRecord()) {
        WaitCursor wait;
        Table1->Delete();
    }
}

void RecordScreen::sbEditClick()
{
    Table1->Open();
    if (Table1->HasCurrentRecord())
        Table1->Edit();
    setEditingMode(true);
}

bool RecordScreen::runChecks() const
{
    for (const RequiredCheck &check : std::as_const(m_checks)) {
        if (!check.passes()) {
            ShowMessage(check.message);
            return false;
        }
    }
    return true;
}

void RecordScreen::checkBeforePost()
{
    if (!runChecks())
        Abort();
}

void RecordScreen::followTable()
{
    if (m_editing && !m_finishing)
        setEditingMode(false);
}

void RecordScreen::sbPostClick()
{
    if (!runChecks())
        return;
    QScopedValueRollback finishing(m_finishing, true);
    QString renumbered;
    if (tableEditing()) {
        try {
            WaitCursor wait; // another copy may be writing: the save waits for it
            renumbered = postTakingAFreeNumber(); // a refusal throws: the editing mode stays
        } catch (const RecordChangedError &) {
            offerReload(Table1); // the editing mode stays either way
            return;
        }
    }
    endEditing();
    if (!renumbered.isEmpty())
        ShowMessage(renumbered);
}

QString RecordScreen::postTakingAFreeNumber()
{
    const bool inserting = Table1->State() == DataSetState::Insert;
    Field *id = Table1->FieldByName(m_setup.identifierField);
    const QString given = id->AsString();
    // Each try that finds its number taken moves on to the number after the last stored
    // one; the bound keeps a table that refuses every insert from holding the user forever.
    for (int tries = 1;; ++tries) {
        try {
            Table1->Post();
            break;
        } catch (const DatabaseError &error) {
            if (!inserting || given.isEmpty() || error.message() != KeyViolationMessage
                || tries >= 20)
                throw;
            const QString last = lastStoredIdentifier();
            const std::optional<QString> next = nextIdentifier(last, m_setup.identifier);
            if (!next)
                throw DatabaseError(identifiersExhaustedMessage(last));
            id->setAsString(*next);
        }
    }
    const QString saved = id->AsString();
    return inserting && saved != given ? NumberTakenMessage.arg(given, saved) : QString();
}

QString RecordScreen::lastStoredIdentifier() const
{
    TableCursor last;
    last.setDatabaseName(Table1->DatabaseName());
    last.setTableName(m_setup.tableName);
    last.AddField(m_setup.identifierField, FieldType::String, 8);
    last.setIndexFieldNames(m_setup.identifierField);
    last.Open();
    last.Last();
    return last.FieldAt(0)->AsString();
}

void RecordScreen::sbCancelClick()
{
    QScopedValueRollback finishing(m_finishing, true);
    try {
        if (tableEditing())
            Table1->Cancel();
    } catch (...) {
        endEditing(); // the row could not be read again: 取消 still ends the editing mode
        throw;
    }
    endEditing();
}

void RecordScreen::endEditing()
{
    // Disabling the box under the focus is not leaving it: it writes nothing and runs no
    // exit handler, so the closed table is left as it is.
    Table1->Close();
    setEditingMode(false);
}

void RecordScreen::sbRefreshClick()
{
    QWidget *query = m_setup.queryScreen ? m_setup.queryScreen() : nullptr;
    if (!query)
        return;
    query->show();
    query->raise();
    if (!m_setup.keepVisibleOnSearch)
        hide();
}

void RecordScreen::postAutomaticEdit()
{
    if (m_editing || !tableEditing())
        return;
    checkBeforePost(); // as "儲存" checks, whatever the table's own check before a post does
    WaitCursor wait;
    Table1->Post();
}

void RecordScreen::closeScreen()
{
    postAutomaticEdit();
    Table1->Close();
    returnToMain();
}

} // namespace tb
