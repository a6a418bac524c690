#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tb {

class ConnectionQuery;
class DBGrid;
class QueryScreen;

// Drives a query screen the way a user does, for timing: it types the value, picks the
// column and presses "確定", double-clicks the result or presses Ctrl+End in it. Handlers
// run as a click runs them; painting is left to the event loop.
class QueryScreenDriver
{
public:
    explicit QueryScreenDriver(QueryScreen *screen);

    QueryScreen *screen() const { return m_screen; }

    // Chooses the column's item, types the value and presses "確定".
    void search(int item, const QString &value);
    // Reads what the grid shows where it stands (the cells of every visible row); returns
    // the number of rows read.
    int readVisibleRows();
    // Ctrl+End in the grid: its last row.
    void jumpToEnd();
    void doubleClick();
    // The key of the current result row.
    QString currentKey() const;
    // Whether every statement the result sends is an index search (a listing of every row
    // may also walk the key's index from either end); otherwise the plan that is not.
    QString planThatIsNoIndexSearch(bool listing) const;

private:
    // Found once by their object names, so that the timings hold no look-up.
    QueryScreen *m_screen;
    QComboBox *m_column;
    QLineEdit *m_value;
    QPushButton *m_search;
    DBGrid *m_grid;
    ConnectionQuery *m_query;
};

} // namespace tb
