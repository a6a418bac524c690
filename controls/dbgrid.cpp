#include "controls/dbgrid.h"

#include "controls/dialogs.h"
#include "controls/fieldinput.h"
#include "controls/griddelegate.h"
#include "controls/grideditbutton.h"
#include "controls/gridmodel.h"
#include "controls/gridrowheader.h"
#include "controls/guard.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/records/sourcebinding.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace tb {

namespace {

// Characters a column shows of a field that has no text width: a whole number's usual
// display width, which dates and memos share.
constexpr int UsualDisplayCharacters = 10;
// Room around a cell's text, so that the widest value does not touch the grid lines.
constexpr int CellMargin = 4;

} // namespace

// The grid follows its data source's signals, and hands over an open cell's text when the
// record is posted.
class DBGrid::Link final : public EditHolder
{
public:
    explicit Link(DBGrid *grid) : m_grid(grid), m_binding(grid, reactions(), this) {}
    SourceBinding &binding() { return m_binding; }
    DataSet *dataSet() const { return m_binding.dataSet(); }

    void writePendingEdit() override { m_grid->writeEditor(); }

private:
    SourceBinding::Reactions reactions()
    {
        SourceBinding::Reactions r;
        r.activeChanged = [this] {
            m_grid->m_model->resetAll();
            m_grid->followCurrent();
        };
        r.dataSetChanged = [this] {
            m_grid->m_model->refresh();
            m_grid->followCurrent();
        };
        r.recordChanged = [this](Field *) { m_grid->m_model->currentRecordChanged(); };
        r.editingChanged = [this] {
            DataSet *set = dataSet();
            if (!(set && set->Editing()))
                m_grid->m_model->clearRefusedText(); // the edit it belonged to is over
            m_grid->m_model->currentRecordChanged();
            m_grid->followCurrent();
        };
        return r;
    }

    DBGrid *m_grid;
    SourceBinding m_binding;
};

// ---------------------------------------------------------------------------------------
DBGrid::DBGrid(QWidget *parent)
    : QTableView(parent),
      m_model(new GridModel(this, [this] { return m_link->dataSet(); })),
      m_link(std::make_unique<Link>(this))
{
    m_delegate = new GridDelegate(this, m_model);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::DoubleClicked);
    setVerticalHeader(new GridRowHeader(14, this));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setWordWrap(false);

    m_editButton = new GridEditButton(viewport());
    connect(m_editButton, &QToolButton::clicked, this, [this] {
        commitEditor();
        if (m_model->takeTextRefused())
            return;
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
                m_model->setColumnWidth(section, size);
                updateEditButton();
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == verticalScrollBar()->minimum() && !m_scrollingBack)
            QTimer::singleShot(0, this, [this] { loadRowsAbove(); });
    });
}

DBGrid::~DBGrid()
{
    m_link->binding().setDataSource(nullptr);
}

void DBGrid::setDataSource(DataSource *source)
{
    m_link->binding().setDataSource(source);
    m_model->resetAll();
    followCurrent();
}

DataSource *DBGrid::dataSource() const
{
    return m_link->binding().dataSource();
}

void DBGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->setDeclaredColumns(columns);
    m_model->resetAll();
    followCurrent();
}

QList<GridColumn> DBGrid::columns() const
{
    return m_model->declaredColumns();
}

QList<std::pair<QString, const Field *>> DBGrid::shownColumns() const
{
    QList<std::pair<QString, const Field *>> shown;
    for (const GridModel::Column &column : m_model->columns())
        shown.append({column.title(), column.field});
    return shown;
}

void DBGrid::setColumnWidthAt(int visibleColumn, int width)
{
    m_model->setColumnWidth(visibleColumn, width);
    applyColumnWidths();
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    if (readOnly)
        commitEditor();
    updateEditButton();
}

bool DBGrid::isReadOnly() const
{
    return m_model->isReadOnly();
}

QString DBGrid::selectedFieldName() const
{
    const int column = currentIndex().column();
    if (column < 0 || column >= m_model->columns().size())
        return QString();
    const auto &c = m_model->columns().at(column);
    return c.field ? c.field->FieldName() : c.def.fieldName;
}

int DBGrid::loadedRowCount() const
{
    return m_model->window().size();
}

void DBGrid::applyColumnWidths()
{
    m_applyingWidths = true;
    for (int i = 0; i < m_model->columns().size(); ++i) {
        const GridModel::Column &column = m_model->columns().at(i);
        const int width = column.def.width >= 0 ? column.def.width : fieldWidth(i);
        if (width >= 0)
            setColumnWidth(i, width);
    }
    m_applyingWidths = false;
}

// As wide as the field shows its values: its size in characters times the width of a
// digit, and never narrower than its title. -1 for a column without a field.
int DBGrid::fieldWidth(int column) const
{
    const Field *field = m_model->columns().at(column).field;
    if (!field)
        return -1;
    const int characters = field->DataType() == FieldType::String && field->Size() > 0
                               ? field->Size()
                               : UsualDisplayCharacters;
    const int cells = characters * fontMetrics().horizontalAdvance(QLatin1Char('0'))
                      + CellMargin;
    return std::max(cells, horizontalHeader()->sectionSizeHint(column));
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyColumnWidths();
}

// Puts the cell cursor on the set's current row.
void DBGrid::followCurrent()
{
    const int row = m_model->currentRow();
    m_model->updateRowMarkers();
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

// A cell text the field refused is told here, once the model has returned from setData,
// and offered again. The message takes the focus from the editor, which would hand the same
// text over again meanwhile: that second commit waits for the message to be read.
void DBGrid::commitData(QWidget *editor)
{
    if (m_tellingRefusal)
        return;
    QTableView::commitData(editor);
    if (!m_model->hasRefusal())
        return;
    const std::optional<QString> message = m_model->takeRefusalMessage();
    if (message) {
        m_tellingRefusal = true;
        ShowError(*message);
        m_tellingRefusal = false;
    }
    reopenEditor();
}

void DBGrid::commitEditor()
{
    QLineEdit *editor = m_delegate->editor();
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// The record is being posted: the open cell's text goes into its field now, and a text
// that does not convert stops the post with the layer's message.
void DBGrid::writeEditor()
{
    // The field may show a message (a check on its new value): the editor then loses the
    // focus to the message box, and the view closes and deletes it meanwhile.
    const QPointer<QLineEdit> editor = m_delegate->editor();
    if (!editor || state() != QAbstractItemView::EditingState) {
        writeRefusedText();
        return;
    }
    if (editor->isModified()) {
        const QString text = editor->text();
        // Handed over once: losing the focus must not hand the same text over again.
        editor->setModified(false);
        if (Field *field = m_model->fieldAt(currentIndex().column())) {
            try {
                field->setAsString(text);
            } catch (...) {
                // Kept for correction: the record goes nowhere without it, and the cell is
                // offered again once the message is read. Closed meanwhile, the editor does
                // not hand the text over a second time as the message takes the focus.
                m_model->keepRefusedText(currentIndex().column(), text);
                if (editor && state() == QAbstractItemView::EditingState)
                    closeEditor(editor, QAbstractItemDelegate::NoHint);
                reopenEditor();
                throw;
            }
        }
    }
    if (editor && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::cancelEditor()
{
    QLineEdit *editor = m_delegate->editor();
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

// The record is posted while a refused cell text waits to be offered again: the text is
// handed over once more, so the record never goes on without what the user typed.
void DBGrid::writeRefusedText()
{
    if (!m_model->hasRefusedText())
        return;
    if (Field *field = m_model->fieldAt(m_model->refusedColumn())) {
        field->setAsString(m_model->refusedText());
        m_model->clearRefusedText();
    }
}

// A cell text the field refused is offered again for correction, once the view is done
// with the editor that held it and the message about it is read (an editor opened under
// the message box would lose the focus as it closes, and hand the text over again); not
// when the record's edit ended meanwhile.
void DBGrid::reopenEditor(int delay)
{
    QTimer::singleShot(delay, this, [this] {
        if (!m_model->hasRefusedText())
            return;
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && !modal->isAncestorOf(this)) {
            reopenEditor(50);
            return;
        }
        followCurrent();
        const int row = m_model->currentRow();
        if (row < 0)
            return;
        const QModelIndex target = m_model->index(row, m_model->refusedColumn());
        m_following = true;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        m_following = false;
        if (QTableView::edit(target, QAbstractItemView::AllEditTriggers, nullptr)
            && m_delegate->editor()) {
            m_delegate->restoreEditorText(m_model->refusedText());
            m_model->clearRefusedText(); // the editor holds it now
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
    if (!current.isValid() || !m_model->hasEditButton(current.column()) || !isEnabled()) {
        m_editButton->hide();
        return;
    }
    m_editButton->placeOver(visualRect(current));
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_lastColumn = current.column();
    updateEditButton();
    if (m_following || !current.isValid())
        return;
    if (m_model->takeTextRefused()) {
        // The cell being left did not take its text: stay on it (reopenEditor follows).
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
    if (!set || !set->Active() || row == m_model->insertingRow())
        return;
    const int index = m_model->windowIndex(row);
    if (index < 0)
        return; // the empty row of an empty set
    const Bookmark bookmark = m_model->window().at(index).bookmark;
    if (bookmark == m_model->currentBookmark() && !(set && set->Editing()))
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
    if (!m_model->isEditable(index.column()))
        return false;
    DataSet *set = m_link->dataSet();
    if (!set || !set->Active())
        return false;
    QModelIndex target = index;
    if (!(set && set->Editing())) {
        // Opening a cell for typing edits the row (an empty set gets a new row).
        bool ok = false;
        runGuarded([&] {
            set->Edit();
            ok = set && set->Editing();
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
    // What the open cell holds counts as typed into the row.
    commitEditor();
    if (m_model->takeTextRefused())
        return;
    // A new row nobody has typed into yet is not followed by another one.
    if (set->State() == DataSetState::Insert && !set->Modified())
        return;
    runGuarded([&] {
        m_model->beginInsert(append);
        if (append)
            set->Append();
        else
            set->Insert();
    });
    m_model->endInsert();
    followCurrent();
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    DataSet *set = m_link->dataSet();
    const bool active = set && set->Active();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (active && modifiers == Qt::ControlModifier) {
        if (event->key() == Qt::Key_Delete) {
            if (!isReadOnly())
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
    if (active && !isReadOnly() && modifiers == Qt::NoModifier) {
        const int row = currentIndex().row();
        switch (event->key()) {
        case Qt::Key_Insert:
            insertRow(false);
            event->accept();
            return;
        case Qt::Key_Down:
            if (row == m_model->rowCount() - 1 && m_model->window().atEnd()) {
                insertRow(true);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Escape:
            if (set && set->Editing()) {
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
        if (event->key() == Qt::Key_Up && row == 0 && !m_model->window().atStart()) {
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
    // The grid reads what it shows first (a row more at either end); further rows come a
    // page at a time as it scrolls, and the view asks for more if it grows.
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    m_model->setScreenRows(viewport()->height() / rowHeight + 2);
    updateEditButton();
}

} // namespace tb
