#include "sales/quotesession.h"

#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/shortdate.h"
#include "data/book/transaction.h"
#include "data/records/disabledcontrols.h"
#include "data/records/recordrules.h"
#include "data/records/tablecursor.h"
#include "sales/quotelinerules.h"
#include "sales/quotenumbers.h"
#include "sales/quoterecordsets.h"
#include "sales/quotetotals.h"

#include <QDateTime>
#include <QScopedValueRollback>

#include <exception>
#include <functional>
#include <utility>

namespace tb {

const QString QuoteSession::ProductMissing = QStringLiteral("商品編號不存在!");
const QString QuoteSession::CustomerBlank = QStringLiteral("客戶編號不可空白!");
const QString QuoteSession::CustomerWrong = QStringLiteral("客戶編號輸入錯誤!");
const QString QuoteSession::DeleteWhileChanged = QStringLiteral(
    "本筆報價單有尚未儲存的變更,不能刪除。請先按「修改」,再儲存或取消。");

namespace {

Field *field(TableCursor *set, const char *name)
{
    return set->FieldByName(QLatin1String(name));
}

} // namespace

// The header's rules, handed to the session that knows them.
class QuoteSession::HeaderRules final : public RecordRules
{
public:
    explicit HeaderRules(QuoteSession &session) : m_session(session) {}
    void newRecord(DataSet &) override { m_session.headerNewRecord(); }
    void beforePost(DataSet &) override { m_session.headerBeforePost(); }
    void beforeDelete(DataSet &) override { m_session.headerBeforeDelete(); }

private:
    QuoteSession &m_session;
};

QuoteSession::QuoteSession(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("QuoteSession"));
    const QuoteRecordSets sets = QuoteRecordSets::create(this);
    m_header = sets.header;
    m_lines = sets.lines;
    m_quotes = sets.quotes;
    m_allLines = sets.allLines;
    m_customers = sets.customers;
    m_employees = sets.employees;
    m_products = sets.products;
    m_headerRules = std::make_unique<HeaderRules>(*this);
    m_lineRules = std::make_unique<QuoteLineRules>(*this, m_lines, m_products);
    m_header->setRules(m_headerRules.get());
    m_lines->setRules(m_lineRules.get());
    connect(m_header, &DataSet::recordInserted, this, &QuoteSession::numberNewQuotation);
    connect(m_lines, &DataSet::posted, this, &QuoteSession::linePosted);
    connect(m_lines, &DataSet::recordDeleted, this, &QuoteSession::lineDeleted);
}

QuoteSession::~QuoteSession()
{
    // The record sets are children and go after the rules: they must not ask them then.
    m_header->setRules(nullptr);
    m_lines->setRules(nullptr);
}

void QuoteSession::open()
{
    // The look-up tables first: the headers read their names through them. The lines open
    // after their master, so their first read already holds the current header's lines.
    for (TableCursor *cursor :
         {m_customers, m_employees, m_products, m_header, m_lines, m_quotes, m_allLines})
        cursor->Open();
}

QString QuoteSession::quoteId() const
{
    return field(m_header, "QuoteID")->AsString();
}

bool QuoteSession::showsStoredQuotation() const
{
    return !m_editing && m_header->HasCurrentRecord();
}

void QuoteSession::setEditing(bool editing)
{
    m_editing = editing;
    emit editingChanged(editing);
}

// ---- browse mode --------------------------------------------------------------------------

void QuoteSession::first()
{
    if (m_header->State() == DataSetState::Browse)
        m_header->First();
}

void QuoteSession::prior()
{
    if (m_header->State() == DataSetState::Browse)
        m_header->Prior();
}

void QuoteSession::next()
{
    if (m_header->State() == DataSetState::Browse)
        m_header->Next();
}

void QuoteSession::last()
{
    if (m_header->State() == DataSetState::Browse)
        m_header->Last();
}

// Browse mode holds no pending line, so the lines are simply read again.
void QuoteSession::refresh()
{
    if (m_header->State() != DataSetState::Browse)
        return;
    m_header->Refresh();
    m_lines->Refresh();
}

// ---- a new quotation and its number -------------------------------------------------------

void QuoteSession::newQuotation()
{
    if (m_header->State() == DataSetState::Browse)
        m_header->Insert();
    setEditing(true);
}

void QuoteSession::edit()
{
    if (m_header->HasCurrentRecord())
        m_header->Edit();
    setEditing(true);
}

void QuoteSession::headerNewRecord()
{
    for (const char *money : {"SubTotal", "ValueAddTax", "Amount"})
        field(m_header, money)->setAsInteger(0);
    field(m_header, "QuoteDate")->setAsDateTime(QDateTime(Clock::today(), QTime(0, 0)));
}

// Numbered once the new header stands in insert (its recordInserted), as a change of the
// header's own, not a default: a move away from it saves it. A failure reaches the caller
// of the insert, with the new header cancelled.
void QuoteSession::numberNewQuotation()
{
    if (m_header->State() != DataSetState::Insert)
        return;
    {
        // From the first quotation on, every date of the application reads year/month/day;
        // the boxes show the new format at once.
        DisabledControls refresh(m_header);
        ShortDate::setPattern(QStringLiteral("yyyy/mm/dd"));
    }
    const QDate date = field(m_header, "QuoteDate")->AsDateTime().date();
    QString number;
    try {
        number = nextFreeNumber(quotenumbers::monthPrefix(date));
    } catch (...) {
        m_header->Cancel(); // no quotation without a number
        throw;
    }
    field(m_header, "QuoteID")->setAsString(number);
    m_insertedNumber = number;
}

QString QuoteSession::nextFreeNumber(const QString &prefix)
{
    m_quotes->SetRange({prefix + QStringLiteral("0000")}, {prefix + QStringLiteral("9999")});
    m_quotes->Last();
    const QString highest =
        m_quotes->IsEmpty() ? QString() : field(m_quotes, "QuoteID")->AsString();
    return quotenumbers::nextQuoteId(prefix, highest);
}

void QuoteSession::moveToFreeNumber()
{
    const QString number = quoteId();
    m_quotes->SetRange({number}, {number});
    if (m_quotes->IsEmpty())
        return;
    const QString next = nextFreeNumber(number.left(6));
    // A save that fails puts the lines back on the old number: the header goes back with
    // them, so that they stay together and the next save moves both again. The line the
    // move was posting when the save failed is not posted again.
    Transaction::onRollback(Database::connection(), [this, number] {
        if (m_lines->Editing())
            m_lines->Cancel();
        if (m_header->State() == DataSetState::Insert)
            field(m_header, "QuoteID")->setAsString(number);
    });
    m_lineRules->moveLinesTo(next);
    field(m_header, "QuoteID")->setAsString(next);
}

// ---- the lines ----------------------------------------------------------------------------

void QuoteSession::addLine()
{
    m_lines->Append();
}

void QuoteSession::setLineProduct(const QString &productId, const QString &productName)
{
    m_lines->Edit(); // a quotation without lines gets its first one
    field(m_lines, "ProductID")->setAsString(productId);
    field(m_lines, "ProductName")->setAsString(productName);
}

void QuoteSession::setLineQuantity(qint64 quantity)
{
    m_lines->Edit();
    field(m_lines, "Quantity")->setAsFloat(double(quantity));
}

void QuoteSession::setLinePrice(qint64 price)
{
    m_lines->Edit();
    field(m_lines, "Price")->setAsFloat(double(price));
}

void QuoteSession::postLine()
{
    if (m_lines->Editing())
        m_lines->Post();
}

void QuoteSession::deleteLine()
{
    if (!m_lines->IsEmpty() || m_lines->Editing())
        m_lines->Delete();
}

void QuoteSession::productUnknown()
{
    m_productMissingTold = true;
    emit checkRefused(ProductMissing, Check::Product);
}

void QuoteSession::linePosted()
{
    if (!m_lines->ControlsDisabled())
        recalculateTotals();
}

void QuoteSession::lineDeleted()
{
    if (m_lines->ControlsDisabled())
        return;
    recalculateTotals();
    m_lineRules->renumber();
}

// ---- totals -------------------------------------------------------------------------------

void QuoteSession::recalculateTotals()
{
    const QuoteTotals totals = QuoteTotals::fromSum(m_lineRules->sumOfAmounts());
    const std::pair<const char *, qint64> money[] = {
        {"SubTotal", totals.subTotal}, {"ValueAddTax", totals.tax}, {"Amount", totals.amount}};
    // An amount an integer field cannot hold is refused by the field, with its message,
    // before any is written: the boxes never show totals of different lines.
    for (const auto &[name, value] : money)
        if (!QuoteTotals::fits(value))
            field(m_header, name)->setAsFloat(double(value));
    for (const auto &[name, value] : money)
        field(m_header, name)->setAsFloat(double(value));
    emit totalsChanged();
}

// ---- save and cancel ----------------------------------------------------------------------

QuoteSession::SaveResult QuoteSession::save()
{
    checkBeforeSave();
    return write();
}

void QuoteSession::checkBeforeSave()
{
    // Every check that may tell the user runs before the book is held, so that no other
    // copy of the application waits on a message here.
    checkCurrentProduct();
    if (m_header->Editing()) {
        if (m_lines->Editing())
            m_lines->Post();
        checkCustomer();
    }
    // A number stored meanwhile is left before the save, so that the move stays done
    // whatever becomes of the save (a move inside it goes back with a failed save).
    if (m_header->State() == DataSetState::Insert)
        moveToFreeNumber();
}

QuoteSession::SaveResult QuoteSession::write()
{
    if (writeInTransaction() == SaveResult::HeaderChangedMeanwhile)
        return SaveResult::HeaderChangedMeanwhile;
    setEditing(false);
    const QString inserted = std::exchange(m_insertedNumber, QString());
    if (!inserted.isEmpty() && inserted != quoteId())
        emit numberMoved(inserted, quoteId());
    return SaveResult::Saved;
}

QuoteSession::SaveResult QuoteSession::writeInTransaction()
{
    bool headerChanged = false; // another user changed the stored header meanwhile
    try {
        // Header and lines are written whole or not at all; a failure puts every record
        // set back as it stood, so the user can try again or cancel.
        Transaction transaction(Database::connection());
        // Checked once the transaction holds the book, so that no other copy can take the
        // number between the check and the write; a move stays done for a retry.
        if (m_header->State() == DataSetState::Insert)
            moveToFreeNumber();
        if (m_header->Editing()) {
            try {
                m_header->Post();
            } catch (const RecordChangedError &) {
                headerChanged = true;
                throw;
            }
        }
        m_lines->ApplyUpdates();
        transaction.commit();
    } catch (const RecordChangedError &) {
        if (!headerChanged)
            throw;
        return SaveResult::HeaderChangedMeanwhile;
    }
    return SaveResult::Saved;
}

void QuoteSession::checkCurrentProduct()
{
    // The text of a grid cell still being typed counts; written now, its own check may
    // have told of an unknown product already, and once is enough.
    m_productMissingTold = false;
    m_lines->UpdateRecord();
    if (!m_lineRules->productExists(field(m_lines, "ProductID")->AsVariant())) {
        if (!m_productMissingTold)
            emit checkRefused(ProductMissing, Check::Product);
        Abort();
    }
}

void QuoteSession::headerBeforePost()
{
    if (m_lines->Editing())
        m_lines->Post();
    checkCustomer();
    recalculateTotals();
}

void QuoteSession::checkCustomer()
{
    const QString customer = field(m_header, "CustomerID")->AsString();
    const auto refuse = [this](const QString &message) {
        emit checkRefused(message, Check::Customer);
        Abort();
    };
    if (customer.trimmed().isEmpty())
        refuse(CustomerBlank);
    if (!m_customers->FindKey({customer}))
        refuse(CustomerWrong);
}

void QuoteSession::cancel()
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
    step([this] { m_lines->CancelUpdates(); });
    step([this] {
        if (m_header->Editing())
            m_header->Cancel();
    });
    m_insertedNumber.clear();
    setEditing(false);
    if (failure)
        std::rethrow_exception(failure);
}

// ---- delete -------------------------------------------------------------------------------

bool QuoteSession::mayDelete()
{
    // A customer or employee chosen while browsing has put the header into edit: it is not
    // deleted then, and the user is told what to do first.
    if (m_header->Editing()) {
        emit checkRefused(DeleteWhileChanged, Check::Delete);
        return false;
    }
    return m_header->HasCurrentRecord();
}

void QuoteSession::deleteQuotation()
{
    if (!m_header->HasCurrentRecord())
        return;
    QScopedValueRollback confirmed(m_deleteConfirmed, true);
    const QSqlDatabase db = Database::connection();
    Transaction transaction(db);
    // Registered first, so it runs last: a header changed through its look-up boxes
    // loses the change with a failed deletion, as it would with one that succeeds.
    Transaction::onRollback(db, [this] {
        if (m_header->State() == DataSetState::Edit)
            m_header->Cancel();
    });
    m_header->Delete(); // takes the lines with it (headerBeforeDelete)
    m_lines->ApplyUpdates();
    transaction.commit();
}

// A quotation goes only through deleteQuotation, after the user was asked.
void QuoteSession::headerBeforeDelete()
{
    if (!m_deleteConfirmed)
        Abort();
    m_lineRules->deleteAll();
}

} // namespace tb
