#pragma once

class QObject;

namespace tb {

class DataSource;
class TableCursor;

// The record sets a quotation is kept in, with their fields, orders and links as the book
// holds them; each carries the name the quotation screen has always given it.
struct QuoteRecordSets
{
    TableCursor *header;      // "Table1": QuoteMaster, the headers worked on
    TableCursor *lines;       // "Table2": QuoteDetail, the header's lines (cached updates)
    TableCursor *quotes;      // "tbQuote": QuoteMaster by QuoteID, for the numbering
    TableCursor *allLines;    // "tbDetail": QuoteDetail by QuoteID
    TableCursor *customers;   // "tbCUST": Customer by CustomerID
    TableCursor *employees;   // "tbEMP": Employee
    TableCursor *products;    // "tbPROD": Product by ProductID
    DataSource *headerSource; // "DataSource1": the lines' master

    // Made as children of the owner, closed.
    static QuoteRecordSets create(QObject *owner);
};

} // namespace tb
