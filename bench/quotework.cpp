#include "bench/quotework.h"

#include "data/database.h"
#include "data/transaction.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QDate>
#include <QDateTime>

namespace tb {

namespace {

QString rightDigits(int value, int digits)
{
    return (QString(digits, QLatin1Char('0')) + QString::number(value)).right(digits);
}

TableCursor *newTable(QObject *owner, const char *name, const char *table)
{
    auto *cursor = new TableCursor(owner);
    cursor->setObjectName(QString::fromLatin1(name));
    cursor->setTableName(QString::fromLatin1(table));
    return cursor;
}

} // namespace

QuoteWork::QuoteWork(QObject *parent) : QObject(parent)
{
    Table1 = newTable(this, "Table1", "QuoteMaster");
    Table2 = newTable(this, "Table2", "QuoteDetail");
    tbQuote = newTable(this, "tbQuote", "QuoteMaster");
    tbDetail = newTable(this, "tbDetail", "QuoteDetail");
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    Table2->setIndexFieldNames(QStringLiteral("QuoteID"));
    Table2->setMasterSource(DataSource1);
    Table2->setMasterFields(QStringLiteral("QuoteID"));
    Table2->setCachedUpdates(true);
    tbQuote->setIndexFieldNames(QStringLiteral("QuoteID"));

    // The line set shows a calculated amount in place of the stored column.
    Table2->AddField(QStringLiteral("QuoteID"), FieldType::String, 10);
    Table2->AddField(QStringLiteral("SEQ"), FieldType::String, 4);
    Table2->AddField(QStringLiteral("QdetailID"), FieldType::String, 10);
    Table2->AddField(QStringLiteral("ProductID"), FieldType::String, 8);
    Table2->AddField(QStringLiteral("ProductName"), FieldType::String, 60);
    Table2->AddField(QStringLiteral("Quantity"), FieldType::Integer);
    Table2->AddField(QStringLiteral("Unit"), FieldType::String, 4);
    Table2->AddField(QStringLiteral("Price"), FieldType::Integer);
    Table2->AddCalculatedField(QStringLiteral("Amount"), FieldType::Integer);
    Table2->AddField(QStringLiteral("Memo"), FieldType::Memo);

    Table1->OnNewRecord = [](DataSet &set) {
        set.FieldByName(QStringLiteral("SubTotal"))->setAsInteger(0);
        set.FieldByName(QStringLiteral("ValueAddTax"))->setAsInteger(0);
        set.FieldByName(QStringLiteral("Amount"))->setAsInteger(0);
        set.FieldByName(QStringLiteral("QuoteDate"))
            ->setAsDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)));
    };
    Table1->AfterInsert = [this](DataSet &) { numberNewQuote(); };
    Table2->OnNewRecord = [](DataSet &set) {
        set.FieldByName(QStringLiteral("Quantity"))->setAsInteger(0);
        set.FieldByName(QStringLiteral("Price"))->setAsInteger(0);
    };
    Table2->OnCalcFields = [](DataSet &set) {
        set.FieldByName(QStringLiteral("Amount"))
            ->setAsFloat(set.FieldByName(QStringLiteral("Quantity"))->AsFloat()
                         * set.FieldByName(QStringLiteral("Price"))->AsFloat());
    };
    Table2->BeforePost = [this](DataSet &set) {
        if (set.State() == DataSetState::Insert)
            numberNewLine();
    };
    Table2->AfterPost = [this](DataSet &) { recalcTotals(); };
}

void QuoteWork::open()
{
    for (TableCursor *cursor : {Table1, Table2, tbQuote, tbDetail})
        cursor->Open();
}

void QuoteWork::close()
{
    for (TableCursor *cursor : {tbDetail, tbQuote, Table2, Table1})
        cursor->Close();
}

QString QuoteWork::insert()
{
    if (Table1->State() == DataSetState::Browse)
        Table1->Insert();
    return Table1->FieldByName(QStringLiteral("QuoteID"))->AsString();
}

void QuoteWork::numberNewQuote()
{
    if (Table1->State() != DataSetState::Insert)
        return;
    const QDate date = Table1->FieldByName(QStringLiteral("QuoteDate"))->AsDateTime().date();
    const QString prefix = QStringLiteral("OD") + date.toString(QStringLiteral("yyMM"));
    tbQuote->SetRange({prefix + QStringLiteral("0000")}, {prefix + QStringLiteral("9999")});
    tbQuote->Last();
    QString id = prefix + QStringLiteral("0001");
    if (!tbQuote->IsEmpty()) {
        const QString last = tbQuote->FieldByName(QStringLiteral("QuoteID"))->AsString();
        id = prefix + rightDigits(last.mid(6, 4).toInt() + 1, 4);
    }
    Table1->FieldByName(QStringLiteral("QuoteID"))->setAsString(id);
}

void QuoteWork::setHeader(const QString &customerId, const QString &employeeId)
{
    Table1->FieldByName(QStringLiteral("CustomerID"))->setAsString(customerId);
    Table1->FieldByName(QStringLiteral("EmployeeID"))->setAsString(employeeId);
}

void QuoteWork::appendLine(const QString &productId, const QString &productName, int quantity,
                           const QString &unit, int price)
{
    Table2->Append();
    Table2->FieldByName(QStringLiteral("ProductID"))->setAsString(productId);
    Table2->FieldByName(QStringLiteral("ProductName"))->setAsString(productName);
    Table2->FieldByName(QStringLiteral("Quantity"))->setAsInteger(quantity);
    Table2->FieldByName(QStringLiteral("Unit"))->setAsString(unit);
    Table2->FieldByName(QStringLiteral("Price"))->setAsInteger(price);
}

void QuoteWork::postLine()
{
    Table2->Post();
}

// The highest number stored for the quotation or pending in the line set.
int QuoteWork::lastLineNumber(const QString &quoteId, const QString &field)
{
    tbDetail->setIndexFieldNames(QStringLiteral("QuoteID;") + field);
    tbDetail->SetRange({quoteId, QStringLiteral("000")}, {quoteId, QStringLiteral("999")});
    tbDetail->Last();
    int last = 0;
    if (!tbDetail->IsEmpty())
        last = tbDetail->FieldByName(field)->AsString().toInt();
    const int index = Table2->FieldByName(field)->Index();
    for (const RowSnapshot &row : Table2->ReadRows(Bookmark(), 999, true))
        last = std::max(last, row.values.value(index).toString().toInt());
    return last;
}

void QuoteWork::numberNewLine()
{
    const QString quoteId = Table1->FieldByName(QStringLiteral("QuoteID"))->AsString();
    Table2->FieldByName(QStringLiteral("SEQ"))
        ->setAsString(rightDigits(lastLineNumber(quoteId, QStringLiteral("SEQ")) + 1, 3));
    Table2->FieldByName(QStringLiteral("QdetailID"))
        ->setAsString(rightDigits(lastLineNumber(quoteId, QStringLiteral("QdetailID")) + 1, 3));
}

void QuoteWork::recalcTotals()
{
    Bookmark mark = Table2->GetBookmark();
    Table2->DisableControls();
    try {
        double sum = 0;
        Table2->First();
        while (!Table2->Eof()) {
            sum += Table2->FieldByName(QStringLiteral("Amount"))->AsFloat();
            Table2->Next();
        }
        Table1->FieldByName(QStringLiteral("SubTotal"))->setAsFloat(sum);
        Table1->FieldByName(QStringLiteral("ValueAddTax"))->setAsFloat(sum * 0.05);
        Table1->FieldByName(QStringLiteral("Amount"))->setAsFloat(sum + sum * 0.05);
    } catch (...) {
        Table2->EnableControls();
        throw;
    }
    Table2->EnableControls();
    if (Table2->BookmarkValid(mark))
        Table2->GotoBookmark(mark);
    Table2->FreeBookmark(mark);
}

void QuoteWork::renumberLines()
{
    Bookmark mark = Table2->GetBookmark();
    Table2->DisableControls();
    try {
        int n = 1;
        Table2->First();
        while (!Table2->Eof()) {
            Table2->Edit();
            Table2->FieldByName(QStringLiteral("QdetailID"))->setAsString(rightDigits(n++, 3));
            Table2->Post();
            Table2->Next();
        }
    } catch (...) {
        Table2->EnableControls();
        throw;
    }
    Table2->EnableControls();
    if (Table2->BookmarkValid(mark))
        Table2->GotoBookmark(mark);
    Table2->FreeBookmark(mark);
}

void QuoteWork::save()
{
    Transaction transaction(Database::connection());
    if (Table1->State() == DataSetState::Insert || Table1->State() == DataSetState::Edit)
        Table1->Post();
    Table2->ApplyUpdates();
    transaction.commit();
}

void QuoteWork::deleteCurrent()
{
    if (!Table1->HasCurrentRecord())
        return;
    Transaction transaction(Database::connection());
    Table1->Edit();
    while (!Table2->IsEmpty()) {
        Table2->First();
        Table2->Delete();
        recalcTotals();
        renumberLines();
    }
    Table2->ApplyUpdates();
    Table1->Cancel(); // the totals written on the way go with the header
    Table1->Delete();
    transaction.commit();
}

} // namespace tb
