#include "sales/quotelinerules.h"

#include "data/book/fieldvalue.h"
#include "data/records/disabledcontrols.h"
#include "data/records/tablecursor.h"
#include "sales/quotenumbers.h"
#include "sales/quotesession.h"

namespace tb {

namespace {

constexpr int LinePage = 256;

Field *field(TableCursor *set, const char *name)
{
    return set->FieldByName(QLatin1String(name));
}

} // namespace

QuoteLineRules::QuoteLineRules(QuoteSession &session, TableCursor *lines,
                               TableCursor *products)
    : m_session(session), m_lines(lines), m_products(products)
{
}

void QuoteLineRules::newRecord(DataSet &)
{
    field(m_lines, "Quantity")->setAsInteger(0);
    field(m_lines, "Price")->setAsInteger(0);
}

void QuoteLineRules::calculateFields(DataSet &)
{
    // Whole numbers multiply exactly; a product the field cannot hold is the layer's to
    // refuse (where it is typed) or to show empty (a stored line).
    field(m_lines, "Amount")->setAsFloat(field(m_lines, "Quantity")->AsFloat()
                                         * field(m_lines, "Price")->AsFloat());
}

void QuoteLineRules::validateField(Field &changed)
{
    if (changed.FieldName().compare(QLatin1String("ProductID"), Qt::CaseInsensitive) != 0)
        return;
    if (!productExists(changed.AsVariant()))
        m_session.productUnknown();
}

void QuoteLineRules::beforePost(DataSet &)
{
    if (m_lines->State() != DataSetState::Insert)
        return;
    const QString seq = quotenumbers::nextLineNumber(
        highestLineValue(QStringLiteral("SEQ")), QStringLiteral("SEQ"));
    const QString item = quotenumbers::nextLineNumber(
        highestLineValue(QStringLiteral("QdetailID")), QStringLiteral("QdetailID"));
    field(m_lines, "SEQ")->setAsString(seq);
    field(m_lines, "QdetailID")->setAsString(item);
}

bool QuoteLineRules::productExists(const QVariant &productId) const
{
    return m_products->FindKey({productId});
}

QVector<RowSnapshot> QuoteLineRules::lineRows() const
{
    QVector<RowSnapshot> rows;
    for (;;) {
        const Bookmark after = rows.isEmpty() ? Bookmark() : rows.constLast().bookmark;
        const QVector<RowSnapshot> page = m_lines->ReadRows(after, LinePage, true);
        rows += page;
        if (page.size() < LinePage)
            return rows;
    }
}

double QuoteLineRules::sumOfAmounts() const
{
    // From quantity and price, not the calculated Amount: a line whose amount no integer
    // field holds shows it empty, yet must count. The sum goes in a double, as three such
    // lines would overflow 64 bits; it is exact while the fields can hold it.
    const int quantity = field(m_lines, "Quantity")->Index();
    const int price = field(m_lines, "Price")->Index();
    double sum = 0;
    for (const RowSnapshot &line : lineRows())
        sum += double(line.values.value(quantity).toLongLong()
                      * line.values.value(price).toLongLong());
    return sum;
}

// The highest value of a line number among the lines held, stored and pending alike, in
// the order the table's index would give ("" when no line has one).
QString QuoteLineRules::highestLineValue(const QString &fieldName) const
{
    const int index = m_lines->FieldByName(fieldName)->Index();
    QVariant highest;
    for (const RowSnapshot &line : lineRows()) {
        const QVariant value = line.values.value(index);
        if (value.isNull() || value.toString().isEmpty())
            continue;
        if (highest.isNull() || fieldvalue::compareStored(value, highest) > 0)
            highest = value;
    }
    return highest.toString();
}

void QuoteLineRules::renumber()
{
    Bookmark mark = m_lines->GetBookmark();
    {
        // The grid shows where the renumbering stopped should it fail.
        DisabledControls bulk(m_lines);
        int n = 0;
        m_lines->First();
        while (!m_lines->Eof()) {
            const QString item = quotenumbers::lineNumber(++n);
            if (field(m_lines, "QdetailID")->AsString() != item) {
                m_lines->Edit();
                field(m_lines, "QdetailID")->setAsString(item);
                m_lines->Post();
            }
            m_lines->Next();
        }
    }
    if (m_lines->BookmarkValid(mark))
        m_lines->GotoBookmark(mark);
    m_lines->FreeBookmark(mark);
}

void QuoteLineRules::moveLinesTo(const QString &newQuoteId)
{
    m_lines->CheckBrowseMode();
    DisabledControls bulk(m_lines);
    // Each line leaves the view of the old number as it is moved; the header's new number
    // brings them all back. Only the lines typed here move: lines stored under the old
    // number belong to the quotation another PC saved under it.
    for (;;) {
        m_lines->First();
        while (!m_lines->Eof() && !m_lines->RowPendingInsert())
            m_lines->Next();
        if (m_lines->IsEmpty() || !m_lines->RowPendingInsert()
            || field(m_lines, "QuoteID")->AsString() == newQuoteId)
            break; // the last check cannot happen: the new number is free
        m_lines->Edit();
        field(m_lines, "QuoteID")->setAsString(newQuoteId);
        m_lines->Post();
    }
}

void QuoteLineRules::deleteAll()
{
    // The lines all go, so totals and numbers after each one would be wasted work.
    m_lines->CheckBrowseMode();
    DisabledControls bulk(m_lines);
    m_lines->First();
    while (!m_lines->IsEmpty())
        m_lines->Delete();
}

} // namespace tb
