#pragma once

#include "controls/workwindow.h"

class QPushButton;

namespace tb {

class DataSource;
class RecordToolBar;
class TableCursor;

// The quotation screen: headers in QuoteMaster, their lines in QuoteDetail.
class TQuote : public WorkWindow
{
    Q_OBJECT
public:
    TQuote();

    TableCursor *Table1;   // QuoteMaster, the headers the user works on
    TableCursor *Table2;   // QuoteDetail, the lines of the current header (cached updates)
    TableCursor *tbQuote;  // QuoteMaster by QuoteID, for the monthly numbering
    TableCursor *tbDetail; // QuoteDetail, for the line numbering
    TableCursor *tbCUST;   // Customer
    TableCursor *tbEMP;    // Employee
    TableCursor *tbPROD;   // Product by ProductID
    DataSource *DataSource1;
    DataSource *DataSource2;
    DataSource *DataSource3;
    DataSource *DataSource4;
    DataSource *DataSource5;
    RecordToolBar *ToolBar;
    QPushButton *Button1;

    void Button1Click();
};

extern TQuote *Quote;

} // namespace tb
