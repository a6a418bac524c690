#pragma once

#include <QVariant>
#include <QWidget>

namespace tb {

class ConnectionQuery;
class DataSource;
class DBGrid;

// The product query screen's work, done the way that screen does it, for timing until the
// screen itself exists: its own query object on the connection string, the screen's select
// lines with the chosen column's condition, and a result grid of the screen's size that
// reads only its first screen of rows.
class QueryStandIn : public QWidget
{
    Q_OBJECT
public:
    QueryStandIn();

    // Closes the query, builds the statement (no column: every product) and opens it.
    void search(const QString &column, const QVariant &value);
    // Reads what the grid shows first; returns the number of rows read.
    int readFirstScreen();
    // The key column of the current result row, as the double-click reads it.
    QString currentKey() const;
    void closeQuery();

    ConnectionQuery *ADOQuery1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;
};

} // namespace tb
