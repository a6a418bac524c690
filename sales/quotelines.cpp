// TQuote, part three: the lines of the current quotation in Table2 and its grid. Line
// changes stay pending in Table2 until the header's Save writes them.

#include "sales/quote.h"

#include "controls/dbgrid.h"
#include "controls/dialogs.h"
#include "data/book/fieldvalue.h"
#include "data/records/tablecursor.h"
#include "lookup/productpicker.h"
#include "sales/quotenumbers.h"

#include <QDialog>
#include <QScopedValueRollback>

namespace tb {

namespace {

constexpr int LinePage = 256;

Field *field(TableCursor *set, const char *name)
{
    return set->FieldByName(QLatin1String(name));
}

} // namespace

void TQuote::Table2NewRecord()
{
    field(Table2, "Quantity")->setAsInteger(0);
    field(Table2, "Price")->setAsInteger(0);
}

void TQuote::Table2CalcFields()
{
    // Whole numbers multiply exactly; a product the field cannot hold is the layer's to
    // refuse (where it is typed) or to show empty (a stored line).
    field(Table2, "Amount")->setAsFloat(field(Table2, "Quantity")->AsFloat()
                                        * field(Table2, "Price")->AsFloat());
}

// Tells of an unknown product at once; the value stays, and Save checks again.
void TQuote::Table2ProductIDValidate()
{
    if (!productExists(field(Table2, "ProductID")->AsVariant())) {
        ShowMessage(ProductMissing);
        m_productMissingTold = true;
    }
}

QVector<RowSnapshot> TQuote::lineRows() const
{
    QVector<RowSnapshot> rows;
    for (;;) {
        const Bookmark after = rows.isEmpty() ? Bookmark() : rows.constLast().bookmark;
        const QVector<RowSnapshot> page = Table2->ReadRows(after, LinePage, true);
        rows += page;
        if (page.size() < LinePage)
            return rows;
    }
}

// The highest value of a line number among the lines Table2 holds, stored and pending
// alike, in the order the table's index would give ("" when no line has one).
QString TQuote::highestLineValue(const QString &fieldName) const
{
    const int index = Table2->FieldByName(fieldName)->Index();
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

// A new line is numbered when it is first posted; an edited one keeps its numbers.
void TQuote::Table2BeforePost()
{
    if (Table2->State() != DataSetState::Insert)
        return;
    const QString seq =
        quotenumbers::nextLineNumber(highestLineValue(QStringLiteral("SEQ")),
                                     QStringLiteral("SEQ"));
    const QString item =
        quotenumbers::nextLineNumber(highestLineValue(QStringLiteral("QdetailID")),
                                     QStringLiteral("QdetailID"));
    field(Table2, "SEQ")->setAsString(seq);
    field(Table2, "QdetailID")->setAsString(item);
}

void TQuote::Table2AfterPost()
{
    if (!m_linesQuiet)
        RecalcTotals();
}

void TQuote::Table2AfterDelete()
{
    if (m_deletingQuote)
        return; // the header goes too: its totals and the numbers of the rest do not matter
    RecalcTotals();
    renumberLines();
}

void TQuote::renumberLines()
{
    QScopedValueRollback quiet(m_linesQuiet, true);
    Bookmark mark = Table2->GetBookmark();
    Table2->DisableControls();
    try {
        int n = 0;
        Table2->First();
        while (!Table2->Eof()) {
            const QString item = quotenumbers::lineNumber(++n);
            if (field(Table2, "QdetailID")->AsString() != item) {
                Table2->Edit();
                field(Table2, "QdetailID")->setAsString(item);
                Table2->Post();
            }
            Table2->Next();
        }
    } catch (...) {
        Table2->EnableControls(); // the grid shows where the renumbering stopped
        throw;
    }
    Table2->EnableControls();
    if (Table2->BookmarkValid(mark))
        Table2->GotoBookmark(mark);
    Table2->FreeBookmark(mark);
}

void TQuote::moveLinesTo(const QString &newQuoteId)
{
    QScopedValueRollback quiet(m_linesQuiet, true);
    Table2->CheckBrowseMode();
    // Each line leaves the view of the old number as it is moved; the header's new
    // number brings them all back. Only the lines typed here move: lines stored under the
    // old number belong to the quotation another PC saved under it.
    for (;;) {
        Table2->First();
        while (!Table2->Eof() && !Table2->RowPendingInsert())
            Table2->Next();
        if (Table2->IsEmpty() || !Table2->RowPendingInsert()
            || field(Table2, "QuoteID")->AsString() == newQuoteId)
            break; // the last check cannot happen: the new number is free
        Table2->Edit();
        field(Table2, "QuoteID")->setAsString(newQuoteId);
        Table2->Post();
    }
}

void TQuote::deleteAllLines()
{
    // The lines all go, so totals and numbers after each one would be wasted work.
    QScopedValueRollback deleting(m_deletingQuote, true);
    Table2->CheckBrowseMode();
    Table2->First();
    while (!Table2->IsEmpty())
        Table2->Delete();
}

void TQuote::DBGrid1EditButtonClick()
{
    if (DBGrid1->selectedFieldName().compare(QLatin1String("ProductID"), Qt::CaseInsensitive)
        != 0)
        return;
    if (!Form28 || Form28->exec() != QDialog::Accepted)
        return;
    Table2->Edit(); // a quotation without lines gets its first one
    const TProductPicker::Choice chosen = Form28->chosen();
    field(Table2, "ProductID")->setAsString(chosen.productId);
    field(Table2, "ProductName")->setAsString(chosen.productName);
}

} // namespace tb
