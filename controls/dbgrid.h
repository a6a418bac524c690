#pragma once

#include "data/records/datasource.h"

#include <QColor>
#include <QTableView>

#include <memory>

class QToolButton;

namespace tb {

class GridDelegate;
class GridEditButton;
class GridModel;

struct GridColumn
{
    GridColumn() = default;
    GridColumn(QString field, QString caption = {}, int pixels = -1)
        : fieldName(std::move(field)), title(std::move(caption)), width(pixels) {}

    QString fieldName;
    QString title;          // empty: the field name
    int width = -1;         // -1: as wide as the field shows its values (DBGrid)
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
// current row after "Delete record?" (OK and Cancel). A column without a given width is
// as wide as its field's values show: the field's size in characters (a text field's
// width; 10 for whole numbers, dates and memos) times the width of the digit "0" in the
// grid's font, plus a small margin, and never narrower than its title.
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
    // The columns as shown: their titles and the fields they are bound to (none for a
    // declared column whose field the set lacks).
    QList<std::pair<QString, const Field *>> shownColumns() const;
    void setColumnWidthAt(int visibleColumn, int width);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // Field name of the column that holds the cell cursor ("" when none).
    QString selectedFieldName() const;
    // Rows read and held by the grid (they are read page by page as the view needs them).
    int loadedRowCount() const;

signals:
    void cellClicked();       // a left click on a data cell, after the row became current
    void dblClicked();        // a double-click anywhere on the grid
    void editButtonClicked(); // the edit button of the current cell

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;
    void commitData(QWidget *editor) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Link;
    void followCurrent();
    void moveToRow(int row);
    void commitEditor();
    void writeEditor();
    void writeRefusedText();
    void cancelEditor();
    void reopenEditor(int delay = 0);
    void loadRowsAbove();
    void updateEditButton();
    void applyColumnWidths();
    int fieldWidth(int column) const;
    void deleteCurrentRow();
    void insertRow(bool append);

    GridModel *m_model;
    std::unique_ptr<Link> m_link;
    GridDelegate *m_delegate = nullptr;
    GridEditButton *m_editButton = nullptr;
    bool m_following = false;
    bool m_moveFailed = false;
    bool m_applyingWidths = false;
    bool m_scrollingBack = false;
    bool m_tellingRefusal = false;
    int m_lastColumn = -1;
};

} // namespace tb
