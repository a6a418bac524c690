#pragma once

#include "data/records/datasource.h"
#include "data/records/tablecursor.h"
#include "testsupport/testdatabase.h"

namespace tb::test {

// A fresh book with quotations OD1 (lines 001 and 002) and OD2 (line 001), and the two record
// sets a quotation screen keeps them in: the header, and its lines, held in memory under it
// (cached updates) until applied. Both are open on OD1.
class HeaderWithLines
{
public:
    HeaderWithLines()
    {
        db.exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID) VALUES ('OD1'), ('OD2')"));
        db.exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, Quantity) VALUES "
                               "('OD1', '001', 1), ('OD1', '002', 2), ('OD2', '001', 5)"));
        header.setTableName(QStringLiteral("QuoteMaster"));
        headerSource.setDataSet(&header);
        lines.setObjectName(QStringLiteral("Table2"));
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        lines.setMasterSource(&headerSource);
        lines.setMasterFields(QStringLiteral("QuoteID"));
        lines.setDetailFields(QStringLiteral("QuoteID"));
        lines.setCachedUpdates(true);
        header.Open();
        lines.Open();
    }

    // Members in the order they go again: the lines before the header they hang on.
    TestDatabase db;
    TableCursor header;
    DataSource headerSource;
    TableCursor lines;
};

} // namespace tb::test
