#include "controls/dblookupcombobox.h"

#include "controls/guard.h"
#include "controls/pagedrowmodel.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/records/sourcebinding.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStylePainter>
#include <QTableView>

namespace tb {

namespace {

constexpr int ListPageSize = 100;

// The rows of the list source, read page by page as the drop-down scrolls.
class ListModel : public PagedRowModel
{
public:
    ListModel(QObject *parent, SetSource set)
        : PagedRowModel(parent, std::move(set), ListPageSize)
    {
    }

    void setColumns(const QStringList &names)
    {
        beginResetModel();
        m_names = names;
        m_fields.clear();
        m_window.clear();
        endResetModel();
    }

    // The list source moved, opened, closed or changed: read it again when next needed.
    void invalidate()
    {
        beginResetModel();
        m_fields.clear();
        m_window.clear();
        endResetModel();
    }

    void ensureLoaded()
    {
        DataSet *set = m_set();
        if (m_window.loaded() || !set || !set->Active())
            return;
        beginResetModel();
        m_fields.clear();
        runGuarded([&] {
            for (const QString &name : std::as_const(m_names))
                m_fields.append(set->FindField(name));
            m_window.loadFirst();
        });
        endResetModel();
    }

    QVariant value(int row, Field *field) const
    {
        if (!field || row < 0 || row >= m_window.size())
            return {};
        const QVector<QVariant> &values = m_window.at(row).values;
        const int at = field->Index();
        return at >= 0 && at < values.size() ? values.at(at) : QVariant();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_window.size();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : qMax(1, int(m_names.size()));
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        Field *field = index.column() < m_fields.size() ? m_fields.at(index.column()) : nullptr;
        return cellText(field, value(index.row(), field));
    }

    QStringList m_names;
    QList<Field *> m_fields;
};

} // namespace

class DBLookupComboBox::Impl
{
public:
    explicit Impl(DBLookupComboBox *box)
        : q(box), m_link(box, boundReactions()), m_listLink(box, listReactions())
    {
    }

    // The record the box writes into.
    SourceBinding::Reactions boundReactions()
    {
        SourceBinding::Reactions r;
        r.activeChanged = [this] { showValue(); };
        r.dataSetChanged = [this] { showValue(); };
        r.recordChanged = [this](Field *) { showValue(); };
        r.editingChanged = [this] { showValue(); };
        return r;
    }

    // The rows the box lists.
    SourceBinding::Reactions listReactions()
    {
        SourceBinding::Reactions r;
        r.activeChanged = [this] {
            m_model->invalidate();
            showValue();
        };
        r.dataSetChanged = [this] { m_model->invalidate(); };
        return r;
    }

    DBLookupComboBox *q;
    SourceBinding m_link;
    SourceBinding m_listLink;
    ListModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QString m_fieldName;
    QString m_keyField;
    QStringList m_listFields;
    QString m_text;

    Field *boundField() const
    {
        DataSet *set = m_link.dataSet();
        if (!set || !set->Active() || m_fieldName.isEmpty())
            return nullptr;
        return set->FindField(m_fieldName);
    }

    void showValue()
    {
        QString text;
        try {
            if (Field *field = boundField())
                text = field->AsString();
        } catch (const std::exception &) {
            // Shown empty; the operation that got here reports its own error.
        }
        if (text != m_text) {
            m_text = text;
            q->update();
        }
    }

    // The field the chosen key goes into: the key field behind a lookup field.
    Field *targetField() const
    {
        Field *field = boundField();
        if (!field)
            return nullptr;
        if (field->Kind() == FieldKind::Lookup) {
            const QStringList keys = splitFieldNames(field->KeyFields);
            if (!keys.isEmpty())
                return field->dataSet()->FieldByName(keys.first());
        }
        return field;
    }

    QString keyFieldName() const
    {
        if (!m_keyField.isEmpty())
            return m_keyField;
        if (Field *field = boundField(); field && field->Kind() == FieldKind::Lookup) {
            const QStringList keys = splitFieldNames(field->LookupKeyFields);
            if (!keys.isEmpty())
                return keys.first();
        }
        return m_listFields.value(0);
    }

    void choose(int row)
    {
        DataSet *list = m_listLink.dataSet();
        DataSet *set = m_link.dataSet();
        if (!list || !list->Active() || !set || !set->Active())
            return;
        Field *keyField = list->FindField(keyFieldName());
        if (!keyField)
            return;
        const QVariant key = m_model->value(row, keyField);
        runGuarded([&] {
            Field *target = targetField();
            if (!target)
                return;
            if (!(set && set->Editing()))
                set->Edit(); // choosing in browse edits the record
            target->setAsVariant(key);
        });
        showValue();
    }

    void selectCurrentKey()
    {
        DataSet *list = m_listLink.dataSet();
        Field *target = targetField();
        if (!list || !list->Active() || !target)
            return;
        Field *keyField = list->FindField(keyFieldName());
        const QVariant key = target->AsVariant();
        int found = -1;
        for (int row = 0; keyField && row < m_model->rowCount(); ++row)
            if (m_model->value(row, keyField) == key) {
                found = row;
                break;
            }
        const QSignalBlocker blocker(q);
        q->setCurrentIndex(found);
    }
};

DBLookupComboBox::DBLookupComboBox(QWidget *parent)
    : QComboBox(parent), d(std::make_unique<Impl>(this))
{
    d->m_model = new ListModel(this, [this] { return d->m_listLink.dataSet(); });
    d->m_view = new QTableView(this);
    d->m_view->horizontalHeader()->hide();
    d->m_view->verticalHeader()->hide();
    d->m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    d->m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    d->m_view->setShowGrid(false);
    d->m_view->setWordWrap(false);
    d->m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setModel(d->m_model);
    setView(d->m_view);
    setModelColumn(0);
    connect(this, &QComboBox::activated, this, [this](int row) { d->choose(row); });
}

DBLookupComboBox::~DBLookupComboBox()
{
    d->m_link.setDataSource(nullptr);
    d->m_listLink.setDataSource(nullptr);
}

void DBLookupComboBox::setDataSource(DataSource *source)
{
    d->m_link.setDataSource(source);
    d->showValue();
}

void DBLookupComboBox::setDataField(const QString &fieldName)
{
    d->m_fieldName = fieldName;
    d->showValue();
}

void DBLookupComboBox::setListSource(DataSource *source)
{
    d->m_listLink.setDataSource(source);
    d->m_model->invalidate();
}

void DBLookupComboBox::setKeyField(const QString &fieldName)
{
    d->m_keyField = fieldName;
}

void DBLookupComboBox::setListFields(const QString &fieldNames)
{
    d->m_listFields = splitFieldNames(fieldNames);
    d->m_model->setColumns(d->m_listFields);
}

void DBLookupComboBox::setDropDownWidth(int width)
{
    d->m_view->setMinimumWidth(width);
}

QString DBLookupComboBox::displayText() const
{
    return d->m_text;
}

int DBLookupComboBox::loadedRowCount() const
{
    return d->m_model->rowCount();
}

void DBLookupComboBox::showPopup()
{
    // Rows are added elsewhere while the box lives: each opening reads its first page
    // afresh.
    d->m_model->invalidate();
    d->m_model->ensureLoaded();
    d->selectCurrentKey();
    // Each listed column as wide as its widest loaded text.
    d->m_view->resizeColumnsToContents();
    QComboBox::showPopup();
}

void DBLookupComboBox::keyPressEvent(QKeyEvent *event)
{
    // Arrow keys step from the record's current key.
    d->m_model->ensureLoaded();
    d->selectCurrentKey();
    QComboBox::keyPressEvent(event);
}

void DBLookupComboBox::wheelEvent(QWheelEvent *event)
{
    d->m_model->ensureLoaded();
    d->selectCurrentKey();
    QComboBox::wheelEvent(event);
}

void DBLookupComboBox::paintEvent(QPaintEvent *)
{
    // The box shows the field's value, which need not be among the rows read so far.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = d->m_text;
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace tb
