#pragma once

#include <QObject>
#include <QString>

namespace tb {

class DataSource;
class TableCursor;

// The quotation screen's record-set work, done the way that screen does it, for timing
// until the screen itself exists: the header set and its cached line set on a master
// link, the monthly numbering through a key range, line numbering through a second view
// of the lines, totals with 5 % tax after every line post and deletion, a save that writes
// the header and the pending lines in one transaction, and a delete of a whole quotation.
class QuoteWork : public QObject
{
    Q_OBJECT
public:
    explicit QuoteWork(QObject *parent = nullptr);

    // Opens the record sets, as the quotation window does when it is created.
    void open();
    void close();

    // New header dated today, numbered "OD" + yymm + the month's next running number.
    QString insert();
    void setHeader(const QString &customerId, const QString &employeeId);
    // A new line with its values typed in (not posted yet).
    void appendLine(const QString &productId, const QString &productName, int quantity,
                    const QString &unit, int price);
    // Posts the current line: numbers a new one, then recomputes the header's totals.
    void postLine();
    // Writes the header and every pending line in one transaction.
    void save();
    // Deletes the current quotation's lines one by one (renumbering and totals after each),
    // then the header; all written in one transaction.
    void deleteCurrent();

    TableCursor *Table1;   // QuoteMaster
    TableCursor *Table2;   // QuoteDetail, cached, linked to Table1
    TableCursor *tbQuote;  // QuoteMaster by QuoteID, for the numbering
    TableCursor *tbDetail; // QuoteDetail, for the line numbering
    DataSource *DataSource1;

private:
    void numberNewQuote();
    void numberNewLine();
    int lastLineNumber(const QString &quoteId, const QString &field);
    void recalcTotals();
    void renumberLines();
};

} // namespace tb
