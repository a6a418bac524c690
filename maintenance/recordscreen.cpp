#include "maintenance/recordscreen.h"

#include "controls/dialogs.h"
#include "controls/guard.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tb {

const QString RecordScreen::DeleteQuestion = QStringLiteral("您要刪除此筆資料嗎?");

void setBoxColor(QWidget *box, const QColor &color)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color); // every colour group: disabled boxes too
    box->setPalette(palette);
}

RequiredCheck RequiredCheck::filled(const QLineEdit *box, const QString &message)
{
    return {[box] { return !box->text().isEmpty(); }, message};
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

    ToolBar = new RecordToolBar(this, setup.toolbarOrder, QStringLiteral("查詢"),
                                setup.closeButtonName, setup.closeButtonWidth);
    sbFirst = ToolBar->sbFirst;
    sbPrior = ToolBar->sbPrior;
    sbNext = ToolBar->sbNext;
    sbLast = ToolBar->sbLast;
    sbInsert = ToolBar->sbInsert;
    sbDelete = ToolBar->sbDelete;
    sbEdit = ToolBar->sbEdit;
    sbPost = ToolBar->sbPost;
    sbCancel = ToolBar->sbCancel;
    sbRefresh = ToolBar->sbRefresh;

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
    m_editing = editing;
    ToolBar->setEditingMode(editing);
    for (QWidget *control : std::as_const(m_editingControls))
        control->setEnabled(editing);
}

bool RecordScreen::tableBrowsing() const
{
    return Table1->Active() && Table1->State() == DataSetState::Browse;
}

bool RecordScreen::tableEditing() const
{
    return Table1->Editing();
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
    if (Table1->Active() && Table1->HasCurrentRecord())
        Table1->Delete();
}

void RecordScreen::sbEditClick()
{
    Table1->Open();
    if (Table1->HasCurrentRecord())
        Table1->Edit();
    setEditingMode(true);
}

void RecordScreen::sbPostClick()
{
    for (const RequiredCheck &check : std::as_const(m_checks)) {
        if (!check.passes()) {
            ShowMessage(check.message);
            return;
        }
    }
    if (tableEditing())
        Table1->Post(); // a refusal throws: the record and the editing mode stay
    endEditing();
}

void RecordScreen::sbCancelClick()
{
    if (tableEditing())
        Table1->Cancel();
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

void RecordScreen::closeScreen()
{
    Table1->Close();
    returnToMain();
}

} // namespace tb
