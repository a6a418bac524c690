#include "controls/gridmodel.h"

#include "controls/guard.h"
#include "data/records/dataset.h"
#include "data/records/field.h"

#include <utility>

namespace tb {

namespace {

constexpr int PageSize = 100;

} // namespace

GridModel::GridModel(QObject *parent, SetSource set)
    : PagedRowModel(parent, std::move(set), PageSize)
{
}

// -- columns

void GridModel::setColumnWidth(int visibleColumn, int width)
{
    if (visibleColumn < 0 || visibleColumn >= m_columns.size())
        return;
    const QString name = m_columns.at(visibleColumn).def.fieldName;
    m_columns[visibleColumn].def.width = width;
    for (GridColumn &def : m_declared)
        if (def.fieldName == name)
            def.width = width;
}

Field *GridModel::fieldAt(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).field : nullptr;
}

bool GridModel::isEditable(int column) const
{
    if (m_readOnly || column < 0 || column >= m_columns.size())
        return false;
    const Column &c = m_columns.at(column);
    return !c.def.readOnly && c.field && c.field->Kind() == FieldKind::Data;
}

bool GridModel::hasEditButton(int column) const
{
    return !m_readOnly && column >= 0 && column < m_columns.size()
           && m_columns.at(column).def.editButton;
}

// -- mapping between model rows and window rows

int GridModel::windowIndex(int row) const
{
    if (m_insertRow >= 0) {
        if (row == m_insertRow)
            return -1;
        if (row > m_insertRow)
            --row;
    }
    return row < m_window.size() ? row : -1;
}

int GridModel::modelRow(int windowIndex) const
{
    if (windowIndex < 0)
        return -1;
    return m_insertRow >= 0 && windowIndex >= m_insertRow ? windowIndex + 1 : windowIndex;
}

int GridModel::currentRow() const
{
    if (!m_active)
        return -1;
    if (m_insertRow >= 0)
        return m_insertRow;
    const int index = modelRow(m_window.indexOf(m_currentBookmark));
    if (index >= 0)
        return index;
    return m_window.isEmpty() ? 0 : -1;
}

const RowSnapshot *GridModel::snapshot(int row) const
{
    if (row == m_insertRow)
        return &m_current;
    const int index = windowIndex(row);
    if (index < 0)
        return nullptr;
    const RowSnapshot &shown = m_window.at(index);
    if (!m_currentBookmark.isNull() && shown.bookmark == m_currentBookmark)
        return &m_current;
    return &shown;
}

int GridModel::fetchPrevious()
{
    if (!m_active || !m_window.loaded() || m_window.atStart())
        return 0;
    RowWindow next = m_window;
    int added = 0;
    runGuarded([&] { added = next.fetchPrevious(); });
    if (added <= 0) {
        m_window = next;
        return 0;
    }
    beginInsertRows({}, 0, added - 1);
    m_window = next;
    if (m_insertRow >= 0)
        m_insertRow += added;
    endInsertRows();
    return added;
}

void GridModel::updateRowMarkers()
{
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

// -- editing

std::optional<QString> GridModel::takeRefusalMessage()
{
    m_refusalPending = false;
    return std::exchange(m_refusalMessage, std::nullopt);
}

bool GridModel::takeTextRefused()
{
    const bool refused = m_textRefused;
    m_textRefused = false;
    return refused;
}

void GridModel::keepRefusedText(int column, const QString &text)
{
    m_refusedColumn = column;
    m_refusedText = text;
}

void GridModel::clearRefusedText()
{
    m_refusedColumn = -1;
    m_refusedText.clear();
}

void GridModel::beginInsert(bool append)
{
    m_lastBookmark = m_currentBookmark;
    m_appendPending = append;
}

// -- QAbstractTableModel

int GridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_active)
        return 0;
    const int rows = m_window.size() + (m_insertRow >= 0 ? 1 : 0);
    return rows == 0 ? 1 : rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const Column &column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const RowSnapshot *row = snapshot(index.row());
        if (!row || !column.field)
            return QString();
        const int at = column.field->Index();
        return at >= 0 && at < row->values.size() ? cellText(column.field, row->values.at(at))
                                                  : QString();
    }
    case Qt::BackgroundRole:
        return column.def.color.isValid() ? QVariant(column.def.color) : QVariant();
    case Qt::ForegroundRole:
        return column.def.fontColor.isValid() ? QVariant(column.def.fontColor) : QVariant();
    case Qt::TextAlignmentRole:
        if (column.field && column.field->DataType() == FieldType::Integer)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator: the current row, or the row being inserted.
        if (role != Qt::DisplayRole)
            return {};
        if (section == m_insertRow)
            return QStringLiteral("*");
        return section == currentRow() ? QStringLiteral("▸") : QString();
    }
    if (section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title();
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !isEditable(index.column()) || !set())
        return false;
    Field *field = fieldAt(index.column());
    const QString text = value.toString();
    // No box opens from here: the view shows the refusal once setData has returned.
    m_refusalPending = false;
    std::optional<QString> message;
    const bool ok = runCatching([&] {
        DataSet *s = set();
        if (!(s && s->Editing()))
            s->Edit();
        field->setAsString(text);
    }, message);
    if (ok) {
        clearRefusedText();
    } else {
        m_textRefused = true;
        keepRefusedText(index.column(), text);
        m_refusalPending = true;
        m_refusalMessage = message;
    }
    return ok;
}

bool GridModel::canFetchMore(const QModelIndex &parent) const
{
    return m_active && m_insertRow < 0 && PagedRowModel::canFetchMore(parent);
}

// -- following the set

void GridModel::bindColumns()
{
    m_columns.clear();
    DataSet *s = set();
    const bool active = s && s->Active();
    if (m_declared.isEmpty()) {
        if (!active)
            return;
        for (int i = 0; i < s->FieldCount(); ++i) {
            Field *field = s->FieldAt(i);
            GridColumn def;
            def.fieldName = field->FieldName();
            m_columns.append({def, field});
        }
        return;
    }
    // Declared columns keep their titles while the set is closed.
    for (const GridColumn &def : std::as_const(m_declared)) {
        // A field users know by its column's title is named by it when it refuses a value.
        if (s && !def.title.isEmpty() && s->displayLabel(def.fieldName).isEmpty())
            s->setDisplayLabel(def.fieldName, def.title);
        if (def.visible)
            m_columns.append({def, active ? s->FindField(def.fieldName) : nullptr});
    }
}

void GridModel::resetAll()
{
    beginResetModel();
    DataSet *s = set();
    m_active = s && s->Active();
    m_window.clear();
    m_insertRow = -1;
    m_current = RowSnapshot();
    m_currentBookmark = m_lastBookmark = Bookmark();
    bindColumns();
    if (m_active) {
        runGuarded([&] {
            readCurrent();
            if (s->State() == DataSetState::Insert || m_currentBookmark.isNull()) {
                m_window.loadFirst();
                if (s->State() == DataSetState::Insert)
                    m_insertRow = m_window.size();
            } else {
                m_window.anchorAt(m_current);
            }
        });
    }
    endResetModel();
}

void GridModel::readCurrent()
{
    DataSet *s = set();
    m_current = RowSnapshot();
    m_currentBookmark = Bookmark();
    if (!s || !s->Active())
        return;
    if (s->State() == DataSetState::Insert || !s->IsEmpty()) {
        m_current = s->CurrentRow();
        if (s->State() != DataSetState::Insert)
            m_currentBookmark = s->GetBookmark();
    }
}

void GridModel::refresh()
{
    DataSet *s = set();
    if (!s || !s->Active() || !m_active) {
        resetAll();
        return;
    }
    RowWindow next = m_window;
    int insertRow = m_insertRow;
    bool changed = false;
    runGuarded([&] {
        readCurrent();
        if (s->State() == DataSetState::Insert) {
            if (insertRow < 0) {
                changed = true;
                if (m_appendPending || next.isEmpty() || s->IsEmpty()) {
                    if (!next.atEnd())
                        next.loadLast();
                    insertRow = next.size();
                    m_appendPending = false;
                } else {
                    const int before = next.indexOf(m_lastBookmark);
                    insertRow = before >= 0 ? before : next.size();
                }
            }
            return;
        }
        if (insertRow >= 0) {
            insertRow = -1;
            changed = true;
        }
        if (next.reload())
            changed = true;
        if (!m_currentBookmark.isNull() && next.indexOf(m_currentBookmark) < 0) {
            next.anchorAt(m_current);
            changed = true;
        }
        m_lastBookmark = m_currentBookmark;
    });
    // (An append stays pending through the post of the row it follows, until its new row
    // is placed; endInsert() ends it in any case.)
    if (changed) {
        beginResetModel();
        m_window = next;
        m_insertRow = insertRow;
        endResetModel();
    } else {
        m_window = next;
        emitAllChanged();
    }
}

void GridModel::currentRecordChanged()
{
    DataSet *s = set();
    if (!m_active || !s || !s->Active())
        return;
    const bool wasInserting = m_insertRow >= 0;
    if ((s->State() == DataSetState::Insert) != wasInserting) {
        refresh();
        return;
    }
    try {
        readCurrent();
    } catch (const std::exception &) {
        return;
    }
    if (s->State() != DataSetState::Insert)
        m_lastBookmark = m_currentBookmark;
    const int row = currentRow();
    if (row >= 0 && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void GridModel::emitAllChanged()
{
    const int rows = rowCount();
    if (rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(rows - 1, int(m_columns.size()) - 1));
}

} // namespace tb
