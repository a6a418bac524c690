#include "sales/quotedocument.h"

#include "data/records/field.h"
#include "data/records/tablecursor.h"

#include <QSettings>

namespace tb {

namespace {

constexpr int LinePage = 256;

QString text(const DataSet &set, const char *field)
{
    return set.FieldByName(QLatin1String(field))->AsString().trimmed();
}

QDate date(const DataSet &set, const char *field)
{
    return set.FieldByName(QLatin1String(field))->AsDateTime().date();
}

qint64 number(const DataSet &set, const char *field)
{
    return set.FieldByName(QLatin1String(field))->AsInteger();
}

// Opens the cursor on a table in the order of its key and moves to the row with that key;
// false when there is none.
bool findRow(TableCursor &cursor, const char *table, const char *key, const QString &value)
{
    cursor.setTableName(QLatin1String(table));
    cursor.setIndexFieldNames(QLatin1String(key));
    cursor.Open();
    return !value.isEmpty() && cursor.FindKey({value});
}

// The first of the texts that is not empty.
QString firstOf(const QString &a, const QString &b)
{
    return a.isEmpty() ? b : a;
}

void readCustomer(QuoteDocument &doc, const QString &customerId)
{
    TableCursor customer;
    if (!findRow(customer, "Customer", "CustomerID", customerId))
        return;
    doc.customerName = firstOf(text(customer, "CustomerName"),
                               text(customer, "CustomerAttribName"));
    doc.contact = text(customer, "JoinMan");
    doc.telephone = firstOf(text(customer, "Tel"), text(customer, "CellPhone"));
    doc.address = firstOf(text(customer, "CompanyAddress"), text(customer, "DeliveryAddress"));
}

void readEmployee(QuoteDocument &doc, const QString &employeeId)
{
    TableCursor employee;
    if (findRow(employee, "Employee", "EmployeeID", employeeId))
        doc.employeeName = text(employee, "EmployeeName");
}

QuoteDocumentLine lineOf(const DataSet &set, const RowSnapshot &row)
{
    const auto value = [&](const char *field) {
        return row.values.value(set.FieldByName(QLatin1String(field))->Index());
    };
    QuoteDocumentLine line;
    line.item = value("QdetailID").toString().trimmed();
    line.productId = value("ProductID").toString().trimmed();
    line.productName = value("ProductName").toString().trimmed();
    line.quantity = value("Quantity").toLongLong();
    line.unit = value("Unit").toString().trimmed();
    line.price = value("Price").toLongLong();
    line.memo = value("Memo").toString();
    return line;
}

// A line typed into the grid carries neither the product's name nor its unit: the page
// shows the product's own then, and the line's text wherever it has one.
void fillFromProducts(QVector<QuoteDocumentLine> &lines)
{
    TableCursor product;
    bool opened = false;
    for (QuoteDocumentLine &line : lines) {
        if (!line.productName.isEmpty() && !line.unit.isEmpty())
            continue;
        if (!opened) {
            product.setTableName(QStringLiteral("Product"));
            product.setIndexFieldNames(QStringLiteral("ProductID"));
            product.Open();
            opened = true;
        }
        if (line.productId.isEmpty() || !product.FindKey({line.productId}))
            continue;
        line.productName = firstOf(line.productName, text(product, "ProductName"));
        line.unit = firstOf(line.unit, text(product, "UnitName"));
    }
}

// The lines in the order the quotation window lists them, read a page at a time.
void readLines(QuoteDocument &doc)
{
    TableCursor lines;
    lines.setTableName(QStringLiteral("QuoteDetail"));
    lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
    lines.Open();
    lines.SetRange({doc.quoteId}, {doc.quoteId});
    Bookmark after;
    for (;;) {
        const QVector<RowSnapshot> page = lines.ReadRows(after, LinePage, true);
        for (const RowSnapshot &row : page)
            doc.lines.append(lineOf(lines, row));
        if (page.size() < LinePage)
            return;
        after = page.constLast().bookmark;
    }
}

} // namespace

CompanyInfo CompanyInfo::fromSettings()
{
    const QSettings settings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
    const auto entry = [&settings](const char *key) {
        return settings.value(QLatin1String("company/") + QLatin1String(key)).toString()
            .trimmed();
    };
    return {entry("name"), entry("address"), entry("telephone"), entry("businessNumber")};
}

std::optional<QuoteDocument> QuoteDocument::read(const QString &quoteId)
{
    TableCursor header;
    if (!findRow(header, "QuoteMaster", "QuoteID", quoteId))
        return std::nullopt;
    QuoteDocument doc;
    doc.company = CompanyInfo::fromSettings();
    doc.quoteId = quoteId;
    doc.quoteDate = date(header, "QuoteDate");
    doc.availableDate = date(header, "AvailableDate");
    doc.customerId = text(header, "CustomerID");
    doc.subTotal = number(header, "SubTotal");
    doc.tax = number(header, "ValueAddTax");
    doc.total = number(header, "Amount");
    doc.memo = header.FieldByName(QStringLiteral("Memo"))->AsString();
    // The keys as stored: the look-ups match them exactly, as the window's do.
    readCustomer(doc, header.FieldByName(QStringLiteral("CustomerID"))->AsString());
    readEmployee(doc, header.FieldByName(QStringLiteral("EmployeeID"))->AsString());
    readLines(doc);
    fillFromProducts(doc.lines);
    return doc;
}

} // namespace tb
