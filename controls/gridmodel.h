#pragma once

#include "controls/dbgrid.h"
#include "controls/pagedrowmodel.h"

#include <optional>

namespace tb {

// The grid's rows: a window of the set's rows, plus the record being inserted, which the
// set does not list until it is posted, and one empty row for an open set without rows.
// The current row shows the set's current record, edits included.
class GridModel : public PagedRowModel
{
public:
    struct Column
    {
        GridColumn def;
        Field *field = nullptr;
        QString title() const { return def.title.isEmpty() ? def.fieldName : def.title; }
    };

    GridModel(QObject *parent, SetSource set);

    // -- columns
    void setDeclaredColumns(const QList<GridColumn> &columns) { m_declared = columns; }
    QList<GridColumn> declaredColumns() const { return m_declared; }
    const QList<Column> &columns() const { return m_columns; }
    void setColumnWidth(int visibleColumn, int width);
    Field *fieldAt(int column) const;
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    bool isEditable(int column) const;
    bool hasEditButton(int column) const;

    // -- rows
    const RowWindow &window() const { return m_window; }
    int windowIndex(int row) const;
    int currentRow() const;
    int insertingRow() const { return m_insertRow; } // -1 when not inserting
    const Bookmark &currentBookmark() const { return m_currentBookmark; }
    // Rows before the window, when the view reaches its top. Returns the rows added.
    int fetchPrevious();
    void updateRowMarkers();

    // -- editing
    // What the field said when it refused a cell text, taken once by the view, which shows
    // it after setData has returned and offers the text again; an empty optional when the
    // refusal was silent or there was none (hasRefusal tells them apart).
    bool hasRefusal() const { return m_refusalPending; }
    std::optional<QString> takeRefusalMessage();
    // True once after a cell text was refused.
    bool takeTextRefused();
    // The last text a cell of the current record refused, kept until the cell is offered
    // again or the record's edit ends: the record must not be posted without it.
    bool hasRefusedText() const { return m_refusedColumn >= 0; }
    int refusedColumn() const { return m_refusedColumn; }
    const QString &refusedText() const { return m_refusedText; }
    void keepRefusedText(int column, const QString &text);
    void clearRefusedText();
    // An insert (append: at the end) is about to begin, and has ended.
    void beginInsert(bool append);
    void endInsert() { m_appendPending = false; }

    // -- following the set
    void resetAll();
    // Rows, order or current row changed: read the window again and find the current row.
    void refresh();
    // A value of the current row changed (calculated fields with it).
    void currentRecordChanged();

    // -- QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    bool canFetchMore(const QModelIndex &parent) const override;

private:
    int modelRow(int windowIndex) const;
    const RowSnapshot *snapshot(int row) const;
    void bindColumns();
    void readCurrent();
    void emitAllChanged();

    QList<GridColumn> m_declared;
    QList<Column> m_columns; // the visible columns, bound to the set's fields
    bool m_readOnly = false;
    bool m_active = false;
    int m_insertRow = -1;        // model row of the record being inserted
    RowSnapshot m_current;       // the current row as the set shows it, edits included
    Bookmark m_currentBookmark;  // null while inserting or without rows
    Bookmark m_lastBookmark;     // current row before an insert began
    bool m_appendPending = false;
    bool m_textRefused = false;
    bool m_refusalPending = false;
    std::optional<QString> m_refusalMessage;
    int m_refusedColumn = -1;
    QString m_refusedText;
};

} // namespace tb
