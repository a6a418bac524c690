#include "sales/quoterecordsets.h"

#include "data/records/datasource.h"
#include "data/records/tablecursor.h"

namespace tb {

namespace {

using T = FieldType;

TableCursor *newTable(QObject *owner, const char *name, const char *table, const char *order)
{
    auto *cursor = new TableCursor(owner);
    cursor->setObjectName(QString::fromLatin1(name));
    cursor->setTableName(QString::fromLatin1(table));
    if (order)
        cursor->setIndexFieldNames(QString::fromLatin1(order));
    return cursor;
}

void addHeaderFields(TableCursor *header, TableCursor *customers, TableCursor *employees)
{
    header->AddField(QStringLiteral("QuoteID"), T::String, 10);
    header->AddField(QStringLiteral("QuoteDate"), T::DateTime);
    header->AddField(QStringLiteral("CustomerID"), T::String, 8);
    header->AddField(QStringLiteral("EmployeeID"), T::String, 8);
    header->AddField(QStringLiteral("AvailableDate"), T::DateTime);
    header->AddField(QStringLiteral("Memo"), T::Memo);
    header->AddField(QStringLiteral("SubTotal"), T::Integer);
    header->AddField(QStringLiteral("ValueAddTax"), T::Integer);
    header->AddField(QStringLiteral("Amount"), T::Integer);
    const QString customer = QStringLiteral("CustomerID");
    const QString employee = QStringLiteral("EmployeeID");
    header->AddLookupField(QStringLiteral("CUST_ID2"), T::String, 8, customer, customers,
                           customer, customer);
    header->AddLookupField(QStringLiteral("CUST_SNA"), T::String, 10, customer, customers,
                           customer, QStringLiteral("CustomerAttribName"));
    header->AddLookupField(QStringLiteral("EM_ID"), T::String, 8, employee, employees,
                           employee, employee);
    header->AddLookupField(QStringLiteral("EM_NA"), T::String, 10, employee, employees,
                           employee, QStringLiteral("EmployeeName"));
}

// The stored Amount column is never written: the line shows Quantity x Price instead.
void addLineFields(TableCursor *lines)
{
    lines->AddField(QStringLiteral("QuoteID"), T::String, 10);
    lines->AddField(QStringLiteral("SEQ"), T::String, 4);
    lines->AddField(QStringLiteral("QdetailID"), T::String, 10);
    lines->AddField(QStringLiteral("ProductID"), T::String, 8);
    lines->AddField(QStringLiteral("ProductName"), T::String, 60);
    lines->AddField(QStringLiteral("Quantity"), T::Integer);
    lines->AddField(QStringLiteral("Unit"), T::String, 4);
    lines->AddField(QStringLiteral("Price"), T::Integer);
    lines->AddCalculatedField(QStringLiteral("Amount"), T::Integer);
    lines->AddField(QStringLiteral("Memo"), T::Memo);
}

} // namespace

QuoteRecordSets QuoteRecordSets::create(QObject *owner)
{
    QuoteRecordSets sets;
    sets.header = newTable(owner, "Table1", "QuoteMaster", nullptr);
    // Lines in the order they were added, so that item numbers follow it.
    sets.lines = newTable(owner, "Table2", "QuoteDetail", "QuoteID;SEQ");
    sets.quotes = newTable(owner, "tbQuote", "QuoteMaster", "QuoteID");
    sets.allLines = newTable(owner, "tbDetail", "QuoteDetail", "QuoteID");
    sets.customers = newTable(owner, "tbCUST", "Customer", "CustomerID");
    sets.employees = newTable(owner, "tbEMP", "Employee", nullptr);
    sets.products = newTable(owner, "tbPROD", "Product", "ProductID");
    sets.headerSource = new DataSource(owner);
    sets.headerSource->setObjectName(QStringLiteral("DataSource1"));
    sets.headerSource->setDataSet(sets.header);

    addHeaderFields(sets.header, sets.customers, sets.employees);
    addLineFields(sets.lines);
    sets.lines->setMasterSource(sets.headerSource);
    sets.lines->setMasterFields(QStringLiteral("QuoteID"));
    sets.lines->setDetailFields(QStringLiteral("QuoteID"));
    sets.lines->setCachedUpdates(true);
    return sets;
}

} // namespace tb
