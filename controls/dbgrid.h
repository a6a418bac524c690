#pragma once

#include "data/datasource.h"

#include <QColor>
#include <QTableView>

namespace tb {

struct GridColumn
{
    QString fieldName;
    QString title;          // empty: the field name
    int width = -1;         // -1: the grid's default
    bool visible = true;
    bool readOnly = false;
    QColor color;           // cell background; invalid: default
    QColor fontColor;
    bool editButton = false; // an ellipsis button in the cell (DBGrid::editButtonClicked)
};

// A grid bound to a data source. It pages through the record set (DataSet::ReadRows),
// never asking for all rows to show the first screen, and follows its current row.
// Editing in place: typing in a cell edits the row; moving to another row posts it;
// moving below the last row or pressing Insert adds a row; Ctrl+Delete deletes the
// current row after "Delete record?" (OK and Cancel).
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    // No columns set: every field of the set, in field order, titled by field name.
    void setColumns(const QList<GridColumn> &columns);
    QList<GridColumn> columns() const;
    void setColumnWidthAt(int visibleColumn, int width);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // Field name of the column that holds the cell cursor ("" when none).
    QString selectedFieldName() const;

signals:
    void cellClicked();       // a left click on a data cell, after the row became current
    void dblClicked();        // a double-click anywhere on the grid
    void editButtonClicked(); // the edit button of the current cell

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    class Model;
    class Link;
    Model *m_model;
    std::unique_ptr<Link> m_link;
    bool m_readOnly = false;
};

} // namespace tb
