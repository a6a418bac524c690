#pragma once

#include "data/records/dataset.h"
#include "data/records/recordrules.h"

#include <QString>
#include <QVector>

namespace tb {

class QuoteSession;
class TableCursor;

// The rules of a quotation's lines (QuoteDetail, cached updates): a new line's defaults, its
// amount, the product check, the numbers of a new line, and the work on all lines at once
// (item numbers again, a move to another quotation number, the deletion of them all),
// which runs with the lines' controls off.
class QuoteLineRules final : public RecordRules
{
public:
    QuoteLineRules(QuoteSession &session, TableCursor *lines, TableCursor *products);

    void newRecord(DataSet &) override;
    void calculateFields(DataSet &) override;
    // Tells of an unknown product at once; the value stays, and a save checks again.
    void validateField(Field &field) override;
    // A new line is numbered when it is first posted; an edited one keeps its numbers.
    void beforePost(DataSet &) override;

    bool productExists(const QVariant &productId) const;
    // Quantity x price over the lines held, stored and pending.
    double sumOfAmounts() const;
    // Item numbers 001, 002, ... in line order after a deletion.
    void renumber();
    // Gives every line typed here the quotation's new number.
    void moveLinesTo(const QString &newQuoteId);
    void deleteAll();

private:
    // The lines held for the header, stored and pending, in line order.
    QVector<RowSnapshot> lineRows() const;
    QString highestLineValue(const QString &fieldName) const;

    QuoteSession &m_session;
    TableCursor *m_lines;
    TableCursor *m_products;
};

} // namespace tb
