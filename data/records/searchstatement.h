#pragma once

#include "data/book/schema.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace tb {

class DataSet;
class SqlQuery;

// One column a query screen searches: the from-line that keeps the rows whose column
// equals the value ("from Product where ProductName ="), and whether the column holds dates.
struct SearchColumn
{
    QString whereFragment;
    bool date = false;
};

// The statement of a query screen's search over one table: its select lines ("column as
// title" items, the titles naming the result's columns), then the bare from-line when the
// value is empty (every row), or else the chosen column's where-fragment compared with the
// value. The value is bound as a parameter, never pasted into the text, so no text typed
// into a search box can change the statement.
class SearchStatement
{
public:
    SearchStatement(QString table, QStringList selectLines, QString fromLine,
                    QList<SearchColumn> columns);

    const QStringList &selectLines() const { return m_selectLines; }
    const QString &fromLine() const { return m_fromLine; }
    const QList<SearchColumn> &columns() const { return m_columns; }

    // The result columns, named by their titles and typed as the table's columns (the
    // database reports no type for a result column). Throws DatabaseError for an item that
    // names no column of the table.
    std::vector<ColumnDef> resultColumns() const;
    // Declares them as the query's persistent fields, before it is opened.
    void declareFields(DataSet &query) const;

    // Sets the query's text and parameters for a value searched in the column at the index.
    // An empty value (no characters; blanks count) lists every row. A text value is searched
    // exactly as typed; a date value is read in the short date format (or yyyy-mm-dd or
    // yyyy/mm/dd) and compared as a date: a text that is not a date throws
    // "'%s' is not a valid date" and leaves the query as it was.
    void applyTo(SqlQuery &query, int column, const QString &value) const;

private:
    QString m_table;
    QStringList m_selectLines;
    QString m_fromLine;
    QList<SearchColumn> m_columns;
};

} // namespace tb
