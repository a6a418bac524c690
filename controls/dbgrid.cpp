#include "controls/dbgrid.h"

#include "controls/dialogs.h"
#include "controls/fieldinput.h"
#include "controls/guard.h"
#include "controls/rowwindow.h"
#include "data/dataset.h"
#include "data/field.h"
#include "data/shortdate.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>

namespace tb {

namespace {

constexpr int PageSize = 100;

QString displayText(const Field *field, const QVariant &value)
{
    if (!field || value.isNull() || !value.isValid())
        return QString();
    switch (field->DataType()) {
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::DateTime:
        return ShortDate::format(ShortDate::fromStorage(value));
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    return value.toString();
}

bool isEditing(const DataSet *set)
{
    return set
           && (set->State() == DataSetState::Edit || set->State() == DataSetState::Insert);
}

} // namespace

// ---------------------------------------------------------------------------------------
// The grid's rows: a window of the set's rows (RowWindow), plus the record being inserted,
// which the set does not list until it is posted, and one empty row for an open set
// without rows.
class DBGrid::Model : public QAbstractTableModel
{
public:
    struct Column
    {
        GridColumn def;
        Field *field = nullptr;
    };

    explicit Model(DBGrid *grid)
        : QAbstractTableModel(grid), m_grid(grid),
          m_window(
              [this](const Bookmark &anchor, int count, bool forward) {
                  DataSet *s = set();
                  return s && s->Active() ? s->ReadRows(anchor, count, forward)
                                          : QVector<RowSnapshot>();
              },
              [this](const Bookmark &bookmark) {
                  DataSet *s = set();
                  return s && s->BookmarkValid(bookmark);
              },
              PageSize)
    {
    }

    DataSet *set() const;

    DBGrid *m_grid;
    RowWindow m_window;
    QList<GridColumn> m_declared;
    QList<Column> m_columns; // the visible columns, bound to the set's fields
    bool m_active = false;
    int m_insertRow = -1;        // model row of the record being inserted
    RowSnapshot m_current;       // the current row as the set shows it, edits included
    Bookmark m_currentBookmark;  // null while inserting or without rows
    Bookmark m_lastBookmark;     // current row before an insert began
    bool m_appendPending = false;
    bool m_setDataFailed = false;

    // -- mapping between model rows and window rows
    int windowIndex(int row) const
    {
        if (m_insertRow >= 0) {
            if (row == m_insertRow)
                return -1;
            if (row > m_insertRow)
                --row;
        }
        return row < m_window.size() ? row : -1;
    }
    int modelRow(int windowIndex) const
    {
        if (windowIndex < 0)
            return -1;
        return m_insertRow >= 0 && windowIndex >= m_insertRow ? windowIndex + 1 : windowIndex;
    }
    int currentRow() const
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
    bool isEmptyRow(int row) const
    {
        return m_active && m_window.isEmpty() && m_insertRow < 0 && row == 0;
    }
    const RowSnapshot *snapshot(int row) const
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
    Field *fieldAt(int column) const
    {
        return column >= 0 && column < m_columns.size() ? m_columns.at(column).field : nullptr;
    }

    // -- QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (parent.isValid() || !m_active)
            return 0;
        const int rows = m_window.size() + (m_insertRow >= 0 ? 1 : 0);
        return rows == 0 ? 1 : rows;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
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
            return at >= 0 && at < row->values.size()
                       ? displayText(column.field, row->values.at(at))
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
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
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
        if (role == Qt::DisplayRole) {
            const GridColumn &def = m_columns.at(section).def;
            return def.title.isEmpty() ? def.fieldName : def.title;
        }
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (isEditable(index.column()))
            flags |= Qt::ItemIsEditable;
        return flags;
    }
    bool isEditable(int column) const
    {
        if (m_grid->m_readOnly || column < 0 || column >= m_columns.size())
            return false;
        const Column &c = m_columns.at(column);
        return !c.def.readOnly && c.field && c.field->Kind() == FieldKind::Data;
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !isEditable(index.column()) || !set())
            return false;
        Field *field = fieldAt(index.column());
        const QString text = value.toString();
        bool ok = false;
        runGuarded([&] {
            DataSet *s = set();
            if (!isEditing(s))
                s->Edit();
            field->setAsString(text);
            ok = true;
        });
        if (!ok) {
            m_setDataFailed = true;
            m_grid->reopenEditor(index.column(), text);
        }
        return ok;
    }
    bool canFetchMore(const QModelIndex &parent) const override
    {
        return !parent.isValid() && m_active && m_window.loaded() && !m_window.atEnd()
               && m_insertRow < 0;
    }
    void fetchMore(const QModelIndex &parent) override
    {
        if (!canFetchMore(parent))
            return;
        RowWindow next = m_window;
        int added = 0;
        runGuarded([&] { added = next.fetchNext(); });
        if (added <= 0) {
            m_window = next; // may have learnt that it is at the end
            return;
        }
        const int first = m_window.size();
        beginInsertRows({}, first, first + added - 1);
        m_window = next;
        endInsertRows();
    }
    // Rows before the window, when the view reaches its top. Returns the rows added.
    int fetchPrevious()
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

    // -- following the set
    void bindColumns()
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
        for (const GridColumn &def : std::as_const(m_declared))
            if (def.visible)
                m_columns.append({def, active ? s->FindField(def.fieldName) : nullptr});
    }

    void resetAll()
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

    void readCurrent()
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

    // Rows, order or current row changed: read the window again and find the current row.
    void refresh()
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
        m_appendPending = false;
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

    // A value of the current row changed (calculated fields with it).
    void currentRecordChanged()
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

    void emitAllChanged()
    {
        const int rows = rowCount();
        if (rows > 0 && !m_columns.isEmpty())
            emit dataChanged(index(0, 0), index(rows - 1, int(m_columns.size()) - 1));
    }
};

// ---------------------------------------------------------------------------------------
class DBGrid::Link : public DataLink
{
public:
    explicit Link(DBGrid *grid) : m_grid(grid) {}
    DBGrid *m_grid;

protected:
    void activeChanged() override
    {
        m_grid->m_model->resetAll();
        m_grid->followCurrent();
    }
    void dataSetChanged() override
    {
        m_grid->m_model->refresh();
        m_grid->followCurrent();
    }
    void recordChanged(Field *) override { m_grid->m_model->currentRecordChanged(); }
    void editingChanged() override
    {
        m_grid->m_model->currentRecordChanged();
        m_grid->followCurrent();
    }
    void updateData() override { m_grid->writeEditor(); }
};

DataSet *DBGrid::Model::set() const
{
    return m_grid->m_link->dataSet();
}

// ---------------------------------------------------------------------------------------
// Cell editor: a line edit under the field's input rules.
class DBGrid::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(DBGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    DBGrid *m_grid;
    QPointer<QLineEdit> m_editor;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        const int column = index.column();
        Model *model = m_grid->m_model;
        editor->setValidator(new FieldValidator(editor, [model, column] {
            return model->fieldAt(column);
        }));
        const_cast<Delegate *>(this)->m_editor = editor;
        return editor;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (!line)
            return;
        auto *validator = const_cast<FieldValidator *>(
            qobject_cast<const FieldValidator *>(line->validator()));
        if (validator)
            validator->setBypass(true);
        line->setText(index.data(Qt::EditRole).toString());
        if (validator)
            validator->setBypass(false);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && line->isModified())
            model->setData(index, line->text(), Qt::EditRole);
    }
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override
    {
        QRect rect = option.rect;
        if (m_grid->hasEditButton(index.column()))
            rect.setRight(rect.right() - rect.height());
        editor->setGeometry(rect);
    }
};

// ---------------------------------------------------------------------------------------
DBGrid::DBGrid(QWidget *parent)
    : QTableView(parent), m_model(new Model(this)), m_link(std::make_unique<Link>(this))
{
    m_delegate = new Delegate(this);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::DoubleClicked);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setWordWrap(false);

    m_editButton = new QToolButton(viewport());
    m_editButton->setObjectName(QStringLiteral("EditButton"));
    m_editButton->setText(QStringLiteral("..."));
    m_editButton->setFocusPolicy(Qt::NoFocus);
    m_editButton->hide();
    connect(m_editButton, &QToolButton::clicked, this, [this] {
        commitEditor();
        if (m_model->m_setDataFailed) {
            m_model->m_setDataFailed = false;
            return;
        }
        emit editButtonClicked();
    });

    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        updateEditButton();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (m_applyingWidths)
                    return;
                rememberWidth(section, size);
                updateEditButton();
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == verticalScrollBar()->minimum() && !m_scrollingBack)
            QTimer::singleShot(0, this, [this] { loadRowsAbove(); });
    });
}

DBGrid::~DBGrid()
{
    m_link->setDataSource(nullptr);
}

void DBGrid::setDataSource(DataSource *source)
{
    m_link->setDataSource(source);
    m_model->resetAll();
    followCurrent();
}

DataSource *DBGrid::dataSource() const
{
    return m_link->dataSource();
}

void DBGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->m_declared = columns;
    m_model->resetAll();
    followCurrent();
}

QList<GridColumn> DBGrid::columns() const
{
    return m_model->m_declared;
}

void DBGrid::setColumnWidthAt(int visibleColumn, int width)
{
    rememberWidth(visibleColumn, width);
    applyColumnWidths();
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (readOnly)
        commitEditor();
    updateEditButton();
}

bool DBGrid::isReadOnly() const
{
    return m_readOnly;
}

QString DBGrid::selectedFieldName() const
{
    const int column = currentIndex().column();
    if (column < 0 || column >= m_model->m_columns.size())
        return QString();
    const auto &c = m_model->m_columns.at(column);
    return c.field ? c.field->FieldName() : c.def.fieldName;
}

int DBGrid::loadedRowCount() const
{
    return m_model->m_window.size();
}

bool DBGrid::hasEditButton(int column) const
{
    return !m_readOnly && column >= 0 && column < m_model->m_columns.size()
           && m_model->m_columns.at(column).def.editButton;
}

void DBGrid::rememberWidth(int visibleColumn, int width)
{
    if (visibleColumn < 0 || visibleColumn >= m_model->m_columns.size())
        return;
    const QString name = m_model->m_columns.at(visibleColumn).def.fieldName;
    m_model->m_columns[visibleColumn].def.width = width;
    for (GridColumn &def : m_model->m_declared)
        if (def.fieldName == name)
            def.width = width;
}

void DBGrid::applyColumnWidths()
{
    m_applyingWidths = true;
    for (int i = 0; i < m_model->m_columns.size(); ++i) {
        const int width = m_model->m_columns.at(i).def.width;
        if (width >= 0)
            setColumnWidth(i, width);
    }
    m_applyingWidths = false;
}

// Puts the cell cursor on the set's current row.
void DBGrid::followCurrent()
{
    const int row = m_model->currentRow();
    if (m_model->rowCount() > 0)
        emit m_model->headerDataChanged(Qt::Vertical, 0, m_model->rowCount() - 1);
    if (row < 0 || m_model->columnCount() == 0) {
        updateEditButton();
        return;
    }
    int column = currentIndex().column();
    if (column < 0)
        column = m_lastColumn >= 0 && m_lastColumn < m_model->columnCount() ? m_lastColumn : 0;
    const QModelIndex target = m_model->index(row, column);
    if (currentIndex() != target) {
        m_following = true;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        m_following = false;
    }
    scrollTo(target);
    updateEditButton();
}

void DBGrid::commitEditor()
{
    QLineEdit *editor = m_delegate->m_editor;
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// The record is being posted: the open cell's text goes into its field now, and a text
// that does not convert stops the post with the layer's message.
void DBGrid::writeEditor()
{
    QLineEdit *editor = m_delegate->m_editor;
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    if (editor->isModified()) {
        if (Field *field = m_model->fieldAt(currentIndex().column()))
            field->setAsString(editor->text());
        editor->setModified(false);
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::cancelEditor()
{
    QLineEdit *editor = m_delegate->m_editor;
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

// A cell text the field refused is offered again for correction.
void DBGrid::reopenEditor(int column, const QString &text)
{
    QTimer::singleShot(0, this, [this, column, text] {
        followCurrent();
        const int row = m_model->currentRow();
        if (row < 0)
            return;
        const QModelIndex target = m_model->index(row, column);
        m_following = true;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        m_following = false;
        if (QTableView::edit(target, QAbstractItemView::AllEditTriggers, nullptr)
            && m_delegate->m_editor) {
            m_delegate->m_editor->setText(text);
            m_delegate->m_editor->setModified(true);
        }
    });
}

void DBGrid::loadRowsAbove()
{
    if (verticalScrollBar()->value() != verticalScrollBar()->minimum())
        return;
    const int added = m_model->fetchPrevious();
    if (added > 0) {
        m_scrollingBack = true;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + added);
        m_scrollingBack = false;
        updateEditButton();
    }
}

void DBGrid::updateEditButton()
{
    if (!m_editButton)
        return; // setModel() in the constructor reports a current cell before it exists
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !hasEditButton(current.column()) || !isEnabled()) {
        m_editButton->hide();
        return;
    }
    const QRect rect = visualRect(current);
    if (rect.isEmpty() || !viewport()->rect().intersects(rect)) {
        m_editButton->hide();
        return;
    }
    const int side = rect.height();
    m_editButton->setGeometry(rect.right() - side + 1, rect.top(), side, side);
    m_editButton->show();
    m_editButton->raise();
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_lastColumn = current.column();
    updateEditButton();
    if (m_following || !current.isValid())
        return;
    if (m_model->m_setDataFailed) {
        // The cell being left did not take its text: stay on it (reopenEditor follows).
        m_model->m_setDataFailed = false;
        m_moveFailed = true;
        return;
    }
    if (previous.isValid() && current.row() == previous.row())
        return;
    moveToRow(current.row());
}

void DBGrid::moveToRow(int row)
{
    DataSet *set = m_link->dataSet();
    if (!set || !set->Active() || row == m_model->m_insertRow)
        return;
    const int index = m_model->windowIndex(row);
    if (index < 0)
        return; // the empty row of an empty set
    const Bookmark bookmark = m_model->m_window.at(index).bookmark;
    if (bookmark == m_model->m_currentBookmark && !isEditing(set))
        return;
    bool moved = false;
    runGuarded([&] {
        set->GotoBookmark(bookmark);
        moved = true;
    });
    if (!moved) {
        // The row being left could not be posted; the set stays on it, and so does the grid.
        m_moveFailed = true;
        QTimer::singleShot(0, this, [this] { followCurrent(); });
    }
}

bool DBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!index.isValid())
        return QTableView::edit(index, trigger, event);
    const bool opens = trigger == QAbstractItemView::AllEditTriggers
                       || (editTriggers() & trigger);
    if (!opens || trigger == QAbstractItemView::CurrentChanged)
        return QTableView::edit(index, trigger, event);
    if (m_readOnly || !m_model->isEditable(index.column()))
        return false;
    DataSet *set = m_link->dataSet();
    if (!set || !set->Active())
        return false;
    QModelIndex target = index;
    if (!isEditing(set)) {
        // Opening a cell for typing edits the row (an empty set gets a new row).
        bool ok = false;
        runGuarded([&] {
            set->Edit();
            ok = isEditing(set);
        });
        if (!ok)
            return false;
        const int row = m_model->currentRow();
        if (row < 0)
            return false;
        target = m_model->index(row, index.column());
        if (currentIndex() != target) {
            m_following = true;
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
            m_following = false;
        }
    }
    return QTableView::edit(target, trigger, event);
}

void DBGrid::deleteCurrentRow()
{
    DataSet *set = m_link->dataSet();
    if (!set || !set->Active())
        return;
    const bool inserting = set->State() == DataSetState::Insert;
    if (!inserting && set->IsEmpty())
        return;
    cancelEditor();
    if (!AskOkCancel(QStringLiteral("Delete record?")))
        return;
    runGuarded([&] {
        if (set->State() == DataSetState::Insert) {
            set->Cancel();
            return;
        }
        if (set->State() == DataSetState::Edit)
            set->Cancel();
        if (set->HasCurrentRecord())
            set->Delete();
    });
}

void DBGrid::insertRow(bool append)
{
    DataSet *set = m_link->dataSet();
    if (!set || !set->Active())
        return;
    // A new row nobody has typed into yet is not followed by another one.
    if (set->State() == DataSetState::Insert && !set->Modified())
        return;
    commitEditor();
    if (m_model->m_setDataFailed) {
        m_model->m_setDataFailed = false;
        return;
    }
    runGuarded([&] {
        m_model->m_lastBookmark = m_model->m_currentBookmark;
        m_model->m_appendPending = append;
        if (append)
            set->Append();
        else
            set->Insert();
    });
    m_model->m_appendPending = false;
    followCurrent();
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    DataSet *set = m_link->dataSet();
    const bool active = set && set->Active();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (active && modifiers == Qt::ControlModifier) {
        if (event->key() == Qt::Key_Delete) {
            if (!m_readOnly)
                deleteCurrentRow();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
            const bool last = event->key() == Qt::Key_End;
            runGuarded([&] { last ? set->Last() : set->First(); });
            event->accept();
            return;
        }
    }
    if (active && !m_readOnly && modifiers == Qt::NoModifier) {
        const int row = currentIndex().row();
        switch (event->key()) {
        case Qt::Key_Insert:
            insertRow(false);
            event->accept();
            return;
        case Qt::Key_Down:
            if (row == m_model->rowCount() - 1 && m_model->m_window.atEnd()) {
                insertRow(true);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Escape:
            if (isEditing(set)) {
                runGuarded([&] { set->Cancel(); });
                event->accept();
                return;
            }
            break;
        default: {
            const QString typed = event->text();
            if (!typed.isEmpty() && typed.at(0).isPrint()
                && !fieldinput::acceptsCharacters(m_model->fieldAt(currentIndex().column()),
                                                  typed)) {
                QApplication::beep();
                event->accept();
                return;
            }
            break;
        }
        }
    }
    if (active && modifiers == Qt::NoModifier) {
        const int row = currentIndex().row();
        if (event->key() == Qt::Key_Down && row == m_model->rowCount() - 1
            && m_model->canFetchMore({}))
            m_model->fetchMore({});
        if (event->key() == Qt::Key_Up && row == 0 && !m_model->m_window.atStart()) {
            const int added = m_model->fetchPrevious();
            Q_UNUSED(added)
        }
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        // Only the left button moves the cell cursor (moving may post the row).
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    m_moveFailed = false;
    QTableView::mousePressEvent(event);
    if (index.isValid() && !m_moveFailed)
        emit cellClicked();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClicked();
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    updateEditButton();
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateEditButton();
}

} // namespace tb
