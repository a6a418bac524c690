// TQuote, part two: the header, the toolbar and its two modes, numbering, totals, save,
// cancel and delete. The controls are made in quotelayout.cpp, the lines handled in
// quotelines.cpp.

#include "sales/quote.h"

#include "controls/datepicker.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/recordconflict.h"
#include "controls/recordtoolbar.h"
#include "controls/waitcursor.h"
#include "controls/windowframe.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "data/book/transaction.h"
#include "sales/quotenumbers.h"
#include "sales/quotetotals.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QPushButton>
#include <QScopedValueRollback>

#include <exception>
#include <functional>
#include <utility>

namespace tb {

TQuote *Quote = nullptr;

const QString TQuote::ProductMissing = QStringLiteral("商品編號不存在!");
const QString TQuote::CustomerBlank = QStringLiteral("客戶編號不可空白!");
const QString TQuote::CustomerWrong = QStringLiteral("客戶編號輸入錯誤!");
const QString TQuote::DeleteQuestion = QStringLiteral("確定刪除本筆訂單資料?");
const QString TQuote::DeleteWhileChanged = QStringLiteral(
    "本筆報價單有尚未儲存的變更,不能刪除。請先按「修改」,再儲存或取消。");
const QString TQuote::NumberTakenMessage =
    QStringLiteral("單據編號 %1 已被使用,本筆報價單已改存為 %2!");

namespace {

Field *field(TableCursor *set, const char *name)
{
    return set->FieldByName(QLatin1String(name));
}

} // namespace

TQuote::TQuote()
    : WorkWindow(QStringLiteral("Quote"), QStringLiteral("報價單"), Frame::CloseBox)
{
    placeWindow(this, 201, 159, 731, 552);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createRecordSets();
    createControls();
    connectHandlers();
    setEditingMode(false);
    DBEdit4->setEnabled(true); // until the modes first switch
    FormCreate();
}

void TQuote::FormCreate()
{
    // Opened with the window, so a database without these tables stops start-up here.
    // The look-up tables first: the headers read their names through them. Table2 opens
    // after its master, so its first read already holds the current header's lines.
    for (TableCursor *cursor : {tbCUST, tbEMP, tbPROD, Table1, Table2, tbQuote, tbDetail})
        cursor->Open();
}

// ---- modes --------------------------------------------------------------------------------

void TQuote::setEditingMode(bool editing)
{
    m_editing = editing;
    ToolBar->setEditingMode(editing);
    for (QWidget *control : std::initializer_list<QWidget *>{
             DBEdit2, DateTimePicker1, DBEdit5, DateTimePicker2, DBMemo1, DBEdit4})
        control->setEnabled(editing);
    updatePrintButton();
    // Lines change only while a Save can write them.
    DBGrid1->setReadOnly(!(editing && Table1->Editing()));
}

void TQuote::closeEvent(QCloseEvent *event)
{
    if (m_editing) {
        event->ignore();
        return;
    }
    WorkWindow::closeEvent(event);
}

QString TQuote::quoteId() const
{
    return field(Table1, "QuoteID")->AsString();
}

// ---- navigation ---------------------------------------------------------------------------

void TQuote::sbFirstClick()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->First();
}

void TQuote::sbPriorClick()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->Prior();
}

void TQuote::sbNextClick()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->Next();
}

void TQuote::sbLastClick()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->Last();
}

// The quotation screen has no query screen: "查詢" re-reads the headers, and the lines of
// the current one with them (browse mode holds no pending line).
void TQuote::sbRefreshClick()
{
    if (Table1->State() != DataSetState::Browse)
        return;
    Table1->Refresh();
    Table2->Refresh();
}

void TQuote::Button1Click()
{
    returnToMain();
}

// ---- insert and edit ----------------------------------------------------------------------

void TQuote::sbInsertClick()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->Insert();
    setEditingMode(true);
}

void TQuote::sbEditClick()
{
    if (Table1->HasCurrentRecord())
        Table1->Edit();
    setEditingMode(true);
}

void TQuote::Table1NewRecord()
{
    for (const char *money : {"SubTotal", "ValueAddTax", "Amount"})
        field(Table1, money)->setAsInteger(0);
    field(Table1, "QuoteDate")->setAsDateTime(QDateTime(Clock::today(), QTime(0, 0)));
}

void TQuote::Table1AfterInsert()
{
    if (Table1->State() != DataSetState::Insert)
        return;
    // From the first quotation on, every date of the application reads year/month/day.
    ShortDate::setPattern(QStringLiteral("yyyy/mm/dd"));
    Table1->DisableControls();
    Table1->EnableControls(); // the boxes show the new format at once
    const QDate date = field(Table1, "QuoteDate")->AsDateTime().date();
    QString number;
    try {
        number = nextFreeNumber(quotenumbers::monthPrefix(date));
    } catch (...) {
        Table1->Cancel(); // no quotation without a number
        throw;
    }
    field(Table1, "QuoteID")->setAsString(number);
    m_insertedNumber = number;
}

QString TQuote::nextFreeNumber(const QString &prefix)
{
    tbQuote->SetRange({prefix + QStringLiteral("0000")}, {prefix + QStringLiteral("9999")});
    tbQuote->Last();
    const QString highest = tbQuote->IsEmpty() ? QString() : field(tbQuote, "QuoteID")->AsString();
    return quotenumbers::nextQuoteId(prefix, highest);
}

void TQuote::moveToFreeNumber()
{
    const QString number = quoteId();
    tbQuote->SetRange({number}, {number});
    if (tbQuote->IsEmpty())
        return;
    const QString next = nextFreeNumber(number.left(6));
    // A save that fails puts the lines back on the old number: the header goes back with
    // them, so that they stay together and the next save moves both again. The line the
    // move was posting when the save failed is not posted again.
    Transaction::onRollback(Database::connection(), [this, number] {
        if (Table2->Editing())
            Table2->Cancel();
        if (Table1->State() == DataSetState::Insert)
            field(Table1, "QuoteID")->setAsString(number);
    });
    moveLinesTo(next);
    field(Table1, "QuoteID")->setAsString(next);
}

// ---- totals -------------------------------------------------------------------------------

void TQuote::RecalcTotals()
{
    // From quantity and price, not the calculated Amount: a line whose amount no integer
    // field holds shows it empty, yet must count. The sum goes in a double, as three such
    // lines would overflow 64 bits; it is exact while the fields can hold it.
    const int quantity = field(Table2, "Quantity")->Index();
    const int price = field(Table2, "Price")->Index();
    double sum = 0;
    for (const RowSnapshot &line : lineRows())
        sum += double(line.values.value(quantity).toLongLong()
                      * line.values.value(price).toLongLong());
    const QuoteTotals totals = QuoteTotals::fromSum(sum);
    const std::pair<const char *, qint64> money[] = {
        {"SubTotal", totals.subTotal}, {"ValueAddTax", totals.tax}, {"Amount", totals.amount}};
    // An amount an integer field cannot hold is refused by the field, with its message,
    // before any is written: the boxes never show totals of different lines.
    for (const auto &[name, value] : money)
        if (!QuoteTotals::fits(value))
            field(Table1, name)->setAsFloat(double(value));
    for (const auto &[name, value] : money)
        field(Table1, name)->setAsFloat(double(value));
}

// ---- save and cancel ----------------------------------------------------------------------

void TQuote::sbPostClick()
{
    // Every check that may show a message runs before the file is held, so that no other
    // copy of the application waits on a message box here.
    checkCurrentProduct();
    if (Table1->Editing()) {
        if (Table2->Editing())
            Table2->Post();
        checkCustomer();
    }
    // A number stored meanwhile is left before the save, so that the move stays done
    // whatever becomes of the save (a move inside it goes back with a failed save).
    if (Table1->State() == DataSetState::Insert)
        moveToFreeNumber();
    bool headerChanged = false; // another user changed the stored header meanwhile
    try {
        WaitCursor wait;
        // Header and lines are written whole or not at all; a failure puts every record
        // set back as it stood, so the user can try again or cancel.
        Transaction transaction(Database::connection());
        // Checked once the transaction holds the file, so that no other copy can take the
        // number between the check and the write; a move stays done for a retry.
        if (Table1->State() == DataSetState::Insert)
            moveToFreeNumber();
        if (Table1->Editing()) {
            try {
                Table1->Post();
            } catch (const RecordChangedError &) {
                headerChanged = true;
                throw;
            }
        }
        Table2->ApplyUpdates();
        transaction.commit();
    } catch (const RecordChangedError &) {
        if (!headerChanged)
            throw;
        offerReload(Table1); // the editing mode stays either way
        return;
    }
    setEditingMode(false);
    const QString inserted = std::exchange(m_insertedNumber, QString());
    if (!inserted.isEmpty() && inserted != quoteId())
        ShowMessage(NumberTakenMessage.arg(inserted, quoteId()));
}

void TQuote::checkCurrentProduct()
{
    // The text of a grid cell still being typed counts; written now, its own check may
    // have told of an unknown product already, and once is enough.
    m_productMissingTold = false;
    Table2->UpdateRecord();
    if (!productExists(field(Table2, "ProductID")->AsVariant())) {
        if (!m_productMissingTold)
            ShowMessage(ProductMissing);
        Abort();
    }
}

bool TQuote::productExists(const QVariant &productId)
{
    return tbPROD->FindKey({productId});
}

void TQuote::Table1BeforePost()
{
    if (Table2->Editing())
        Table2->Post();
    checkCustomer();
    RecalcTotals();
}

void TQuote::checkCustomer()
{
    const QString customer = field(Table1, "CustomerID")->AsString();
    const auto refuse = [this](const QString &message) {
        ShowWarning(message);
        DBEdit3->setFocus();
        Abort();
    };
    if (customer.trimmed().isEmpty())
        refuse(CustomerBlank);
    if (!tbCUST->FindKey({customer}))
        refuse(CustomerWrong);
}

void TQuote::sbCancelClick()
{
    // Every step runs, and the editing mode ends, even when a row cannot be read again now
    // (a server that is away); the first failure is told afterwards.
    std::exception_ptr failure;
    const auto step = [&failure](const std::function<void()> &work) {
        try {
            work();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    // The lines first: a line left in edit would otherwise be posted as the header moves.
    step([this] { Table2->CancelUpdates(); });
    step([this] {
        if (Table1->Editing())
            Table1->Cancel();
    });
    m_insertedNumber.clear();
    setEditingMode(false);
    if (failure)
        std::rethrow_exception(failure);
}

// ---- delete -------------------------------------------------------------------------------

void TQuote::sbDeleteClick()
{
    // A customer or employee chosen while browsing has put the header into edit: it is not
    // deleted then, and the user is told what to do first.
    if (Table1->Editing()) {
        ShowMessage(DeleteWhileChanged);
        return;
    }
    if (!Table1->HasCurrentRecord())
        return;
    // Asked before the file is held: no other copy waits on the question.
    if (!Confirm(DeleteQuestion))
        return;
    QScopedValueRollback confirmed(m_deleteConfirmed, true);
    WaitCursor wait;
    const QSqlDatabase db = Database::connection();
    Transaction transaction(db);
    // Registered first, so it runs last: a header changed through its look-up boxes
    // loses the change with a failed deletion, as it would with one that succeeds.
    Transaction::onRollback(db, [this] {
        if (Table1->State() == DataSetState::Edit)
            Table1->Cancel();
    });
    Table1->Delete(); // asks, and takes the lines with it (Table1BeforeDelete)
    Table2->ApplyUpdates();
    transaction.commit();
}

void TQuote::Table1BeforeDelete()
{
    if (!m_deleteConfirmed && !Confirm(DeleteQuestion))
        Abort();
    deleteAllLines();
}

// ---- dates --------------------------------------------------------------------------------

// The picker's date goes into the box as if typed; the field takes it when the header is
// posted. The pickers never follow the record.
void TQuote::DateTimePicker1Change()
{
    DBEdit2->setText(ShortDate::format(DateTimePicker1->date()));
}

void TQuote::DateTimePicker2Change()
{
    DBEdit5->setText(ShortDate::format(DateTimePicker2->date()));
}

} // namespace tb
