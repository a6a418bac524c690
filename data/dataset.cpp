#include "data/dataset.h"

#include "data/dataset_p.h"
#include "data/datasource.h"
#include "data/errors.h"
#include "data/fieldvalue.h"

#include <algorithm>

namespace tb {

namespace {

const char *const NotEditing = "Dataset not in edit or insert mode";
const char *const Closed = "Cannot perform this operation on a closed dataset";

QStringList splitNames(const QString &names)
{
    QStringList result;
    for (const QString &n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = n.trimmed();
        if (!t.isEmpty())
            result << t;
    }
    return result;
}

QVariantList valueList(const QVariant &values, int count)
{
    if (count == 1)
        return {values.typeId() == QMetaType::QVariantList && values.toList().size() == 1
                    ? values.toList().first() : values};
    return values.toList();
}

} // namespace

DataSet::DataSet(QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
}

DataSet::~DataSet()
{
    for (const QPointer<DataSource> &s : d->sources)
        if (s)
            s->m_dataSet = nullptr;
}

// ---- fields ----------------------------------------------------------------------------

Field *DataSet::AddField(const QString &name, FieldType type, int size)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    if (FindField(name))
        throw DatabaseError(formatMessage(QStringLiteral("Duplicate field name '%s'"), {name}));
    auto field = std::make_unique<Field>(this, name, type, size, FieldKind::Data);
    field->m_index = int(d->fields.size());
    d->fields.push_back(std::move(field));
    return d->fields.back().get();
}

Field *DataSet::AddCalculatedField(const QString &name, FieldType type, int size)
{
    Field *f = AddField(name, type, size);
    f->m_kind = FieldKind::Calculated;
    return f;
}

Field *DataSet::AddLookupField(const QString &name, FieldType type, int size,
                               const QString &keyFields, DataSet *lookupDataSet,
                               const QString &lookupKeyFields, const QString &resultField)
{
    Field *f = AddField(name, type, size);
    f->m_kind = FieldKind::Lookup;
    f->KeyFields = keyFields;
    f->LookupDataSet = lookupDataSet;
    f->LookupKeyFields = lookupKeyFields;
    f->LookupResultField = resultField;
    return f;
}

Field *DataSet::addDynamicField(const QString &name, FieldType type, int size)
{
    if (d->dynamicFrom < 0)
        d->dynamicFrom = int(d->fields.size());
    auto field = std::make_unique<Field>(this, name, type, size, FieldKind::Data);
    field->m_index = int(d->fields.size());
    d->fields.push_back(std::move(field));
    return d->fields.back().get();
}

Field *DataSet::FieldByName(const QString &name) const
{
    if (Field *f = FindField(name))
        return f;
    throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"), {name}));
}

Field *DataSet::FindField(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const auto &f : d->fields)
        if (f->FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

int DataSet::FieldCount() const
{
    return int(d->fields.size());
}

Field *DataSet::FieldAt(int index) const
{
    return index >= 0 && index < FieldCount() ? d->fields[size_t(index)].get() : nullptr;
}

QVector<QVariant> DataSet::blankValues() const
{
    return QVector<QVariant>(FieldCount());
}

// ---- open and close -----------------------------------------------------------------------

void DataSet::Open()
{
    if (Active())
        return;
    runHook(BeforeOpen);
    auto dropDynamic = [this] {
        if (d->dynamicFrom >= 0) {
            d->fields.resize(size_t(d->dynamicFrom));
            d->dynamicFrom = -1;
        }
    };
    try {
        openCursor();
    } catch (...) {
        dropDynamic();
        throw;
    }
    d->state = DataSetState::Browse;
    d->modified = false;
    try {
        moveTo(readFirst(), -1);
    } catch (...) {
        d->state = DataSetState::Inactive;
        closeCursor();
        dropDynamic();
        d->buf.clear();
        throw;
    }
    notifyActive();
    notifyDataSet();
    runHook(AfterOpen);
    runHook(AfterScroll);
}

void DataSet::Close()
{
    if (!Active())
        return;
    runHook(BeforeClose);
    // Edits in progress and pending cached updates are dropped, as closing always does.
    d->state = DataSetState::Inactive;
    d->modified = false;
    d->hasRow = false;
    d->bof = d->eof = true;
    d->bookmark = {};
    d->insertReturn = {};
    closeCursor();
    d->buf.clear();
    d->oldBuf.clear();
    // Fields made by Open go with the data; the controls hear of it afterwards and let go
    // of them (a closed set has no fields of its own to show).
    if (d->dynamicFrom >= 0) {
        d->fields.resize(size_t(d->dynamicFrom));
        d->dynamicFrom = -1;
    }
    notifyActive();
    runHook(AfterClose);
}

bool DataSet::Active() const
{
    return d->state != DataSetState::Inactive;
}

DataSetState DataSet::State() const
{
    return d->state;
}

bool DataSet::Bof() const
{
    return !Active() || d->bof;
}

bool DataSet::Eof() const
{
    return !Active() || d->eof;
}

bool DataSet::IsEmpty() const
{
    return !Active() || (!d->hasRow && d->state != DataSetState::Insert);
}

bool DataSet::HasCurrentRecord() const
{
    return d->state == DataSetState::Browse && !(d->bof && d->eof);
}

bool DataSet::Modified() const
{
    return d->modified;
}

void DataSet::checkActive() const
{
    if (!Active())
        throw DatabaseError(QString::fromLatin1(Closed));
}

void DataSet::checkWritable() const
{
    if (isReadOnly())
        throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void DataSet::runHook(const Hook &hook)
{
    if (hook)
        hook(*this);
}

// ---- the current row ----------------------------------------------------------------------

void DataSet::setCurrent(const RowData &row)
{
    QVector<QVariant> values = row.values;
    values.resize(FieldCount());
    d->buf = values;
    d->bookmark = row.bookmark;
    d->hasRow = true;
    computeDerived(d->buf, true);
}

void DataSet::setEmpty()
{
    d->buf = blankValues();
    d->bookmark = {};
    d->hasRow = false;
    d->bof = d->eof = true;
}

// direction: -1 first row (Bof), +1 last row (Eof), 0 somewhere inside
void DataSet::moveTo(const OptRow &row, int direction)
{
    if (!row) {
        setEmpty();
        return;
    }
    setCurrent(*row);
    d->bof = direction < 0;
    d->eof = direction > 0;
}

bool DataSet::gotoRow(const OptRow &row)
{
    if (!row)
        return false;
    moveTo(row, 0);
    notifyDataSet();
    runHook(AfterScroll);
    return true;
}

void DataSet::computeDerived(QVector<QVariant> &values, bool current) const
{
    bool anyCalc = false;
    for (const auto &f : d->fields) {
        if (f->Kind() == FieldKind::Calculated) {
            values[f->Index()] = QVariant();
            anyCalc = true;
        } else if (f->Kind() == FieldKind::Lookup) {
            QVariant result;
            DataSet *other = f->LookupDataSet;
            // A look-up into a set that is not open yet shows nothing rather than failing
            // the read of this row.
            if (other && other->Active()) {
                const QStringList keys = splitNames(f->KeyFields);
                QVariantList keyValues;
                bool allNull = true;
                for (const QString &k : keys) {
                    const QVariant v = values[FieldByName(k)->Index()];
                    allNull = allNull && v.isNull();
                    keyValues << v;
                }
                if (!allNull && !keys.isEmpty())
                    result = other->Lookup(f->LookupKeyFields,
                                           keyValues.size() == 1 ? keyValues.first()
                                                                 : QVariant(keyValues),
                                           f->LookupResultField);
            }
            values[f->Index()] = fieldvalue::convert(f->DataType(), result, f->FieldName());
        }
    }
    if (!OnCalcFields)
        return;
    Q_UNUSED(anyCalc);
    auto *self = const_cast<DataSet *>(this);
    if (current) {
        ++d->calcDepth;
        try {
            OnCalcFields(*self);
        } catch (...) {
            --d->calcDepth;
            throw;
        }
        --d->calcDepth;
        return;
    }
    // A scratch row: the handler reads the fields, so the row stands in the buffer meanwhile.
    QVector<QVariant> saved = d->buf;
    d->buf = values;
    ++d->calcDepth;
    try {
        OnCalcFields(*self);
    } catch (...) {
        --d->calcDepth;
        d->buf = saved;
        throw;
    }
    --d->calcDepth;
    values = d->buf;
    d->buf = saved;
}

void DataSet::recalcCurrent(Field *changed)
{
    const QVector<QVariant> before = d->buf;
    bool derived = false;
    for (const auto &f : d->fields) {
        if (f->Kind() == FieldKind::Lookup && changed
            && splitNames(f->KeyFields).contains(changed->FieldName(), Qt::CaseInsensitive)) {
            derived = true;
        }
        if (f->Kind() == FieldKind::Calculated)
            derived = true;
    }
    if (!derived && !OnCalcFields)
        return;
    computeDerived(d->buf, true);
    for (const auto &f : d->fields)
        if (f->Kind() != FieldKind::Data && before[f->Index()] != d->buf[f->Index()])
            notifyRecord(f.get());
}

QVariant DataSet::fieldValue(const Field *field) const
{
    if (!Active() || field->m_index < 0 || field->m_index >= d->buf.size())
        return {};
    return d->buf[field->m_index];
}

void DataSet::setFieldValue(Field *field, const QVariant &value)
{
    if (!Active())
        throw DatabaseError(QString::fromLatin1(NotEditing));
    const int i = field->Index();
    if (d->calcDepth > 0) {
        if (field->Kind() != FieldKind::Calculated)
            throw DatabaseError(formatMessage(QStringLiteral("Field '%s' cannot be modified"),
                                              {field->FieldName()}));
        d->buf[i] = value;
        return;
    }
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        throw DatabaseError(QString::fromLatin1(NotEditing));
    if (field->Kind() == FieldKind::Lookup) {
        setLookupValue(field, value);
        return;
    }
    if (field->Kind() == FieldKind::Calculated) {
        d->buf[i] = value;
        notifyRecord(field);
        return;
    }
    const QVariant old = d->buf[i];
    d->buf[i] = value;
    if (field->OnValidate) {
        try {
            field->OnValidate(*field);
        } catch (...) {
            d->buf[i] = old;
            throw;
        }
    }
    d->modified = true;
    notifyRecord(field);
    recalcCurrent(field);
}

void DataSet::setLookupValue(Field *field, const QVariant &value)
{
    const QStringList keys = splitNames(field->KeyFields);
    const QStringList lookupKeys = splitNames(field->LookupKeyFields);
    for (int k = 0; k < keys.size(); ++k) {
        QVariant key;
        if (!value.isNull() && field->LookupDataSet && k < lookupKeys.size())
            key = field->LookupDataSet->Lookup(field->LookupResultField, value, lookupKeys[k]);
        FieldByName(keys[k])->setAsVariant(key);
    }
}

// ---- navigation ---------------------------------------------------------------------------

void DataSet::CheckBrowseMode()
{
    checkActive();
    notifyCheckBrowseMode();
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        return;
    updateControlsData();
    if (d->modified) {
        runHook(BeforePost);
        if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
            return;
        const Bookmark written = d->state == DataSetState::Insert
            ? writeInsert(d->buf) : writeUpdate(d->bookmark, d->oldBuf, d->buf);
        d->state = DataSetState::Browse;
        d->modified = false;
        positionAfterWrite(written);
        notifyEditing();
        runHook(AfterPost);
    } else {
        Cancel();
    }
}

void DataSet::First()
{
    checkActive();
    CheckBrowseMode();
    moveTo(readFirst(), -1);
    notifyDataSet();
    runHook(AfterScroll);
}

void DataSet::Last()
{
    checkActive();
    CheckBrowseMode();
    moveTo(readLast(), +1);
    notifyDataSet();
    runHook(AfterScroll);
}

void DataSet::Next()
{
    checkActive();
    CheckBrowseMode();
    if (!d->hasRow) {
        setEmpty();
        return;
    }
    if (d->eof)
        return;
    const OptRow row = readNext(d->bookmark);
    d->bof = false;
    if (row) {
        setCurrent(*row);
        d->eof = false;
        notifyDataSet();
    } else {
        d->eof = true;
    }
    runHook(AfterScroll);
}

void DataSet::Prior()
{
    checkActive();
    CheckBrowseMode();
    if (!d->hasRow) {
        setEmpty();
        return;
    }
    if (d->bof)
        return;
    const OptRow row = readPrior(d->bookmark);
    d->eof = false;
    if (row) {
        setCurrent(*row);
        d->bof = false;
        notifyDataSet();
    } else {
        d->bof = true;
    }
    runHook(AfterScroll);
}

void DataSet::rowsChanged()
{
    if (!Active())
        return;
    moveTo(readFirst(), -1);
    notifyDataSet();
    runHook(AfterScroll);
}

void DataSet::resyncCurrent()
{
    if (!Active())
        return;
    if (d->hasRow && d->state == DataSetState::Browse) {
        const bool bof = d->bof, eof = d->eof;
        const Bookmark at = d->bookmark;
        if (OptRow row = readRow(at)) {
            setCurrent(*row);
            d->bof = bof;
            d->eof = eof;
        } else if (OptRow next = readNext(at)) {
            moveTo(next, 0);
        } else {
            moveTo(readPrior(at), +1);
            d->eof = false;
            if (!d->hasRow)
                d->eof = true;
        }
    } else if (d->state == DataSetState::Browse) {
        moveTo(readFirst(), -1);
    }
    notifyDataSet();
}

void DataSet::positionAfterWrite(const Bookmark &bookmark)
{
    OptRow row = readRow(bookmark);
    if (!row)
        row = readNext(bookmark);
    if (!row)
        row = readPrior(bookmark);
    moveTo(row, 0);
    notifyDataSet();
}

// ---- the edit cycle -----------------------------------------------------------------------

void DataSet::Insert()
{
    checkActive();
    checkWritable();
    CheckBrowseMode();
    runHook(BeforeInsert);
    d->insertReturn = d->hasRow ? d->bookmark : Bookmark();
    const bool hadRow = d->hasRow;
    const QVector<QVariant> previous = d->buf;
    const bool bof = d->bof, eof = d->eof;
    d->buf = blankValues();
    d->bookmark = {};
    d->hasRow = false;
    d->state = DataSetState::Insert;
    d->modified = false;
    d->bof = d->eof = false;
    try {
        initNewRecord();
        computeDerived(d->buf, true);
        runHook(OnNewRecord);
    } catch (...) {
        // The new record never existed: back to the row it started from.
        d->state = DataSetState::Browse;
        d->modified = false;
        d->buf = previous;
        d->hasRow = hadRow;
        d->bookmark = d->insertReturn;
        d->bof = bof;
        d->eof = eof;
        notifyDataSet();
        throw;
    }
    d->modified = false; // defaults are not the user's changes
    notifyEditing();
    notifyDataSet();
    runHook(AfterInsert);
    runHook(AfterScroll);
}

void DataSet::Append()
{
    // A table's new row takes its place by its key when posted; both start a blank record.
    Insert();
}

void DataSet::Edit()
{
    checkActive();
    if (d->state == DataSetState::Edit || d->state == DataSetState::Insert)
        return;
    if (!d->hasRow) {
        Insert();
        return;
    }
    checkWritable();
    runHook(BeforeEdit);
    d->oldBuf = d->buf;
    d->state = DataSetState::Edit;
    d->modified = false;
    notifyEditing();
    runHook(AfterEdit);
}

void DataSet::Post()
{
    checkActive();
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        throw DatabaseError(QString::fromLatin1(NotEditing));
    updateControlsData();
    runHook(BeforePost);
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        return;
    const Bookmark written = d->state == DataSetState::Insert
        ? writeInsert(d->buf) : writeUpdate(d->bookmark, d->oldBuf, d->buf);
    d->state = DataSetState::Browse;
    d->modified = false;
    positionAfterWrite(written);
    notifyEditing();
    runHook(AfterPost);
}

void DataSet::Cancel()
{
    checkActive();
    if (d->state != DataSetState::Edit && d->state != DataSetState::Insert)
        return;
    runHook(BeforeCancel);
    const bool wasInsert = d->state == DataSetState::Insert;
    d->state = DataSetState::Browse;
    d->modified = false;
    if (wasInsert) {
        const Bookmark back = d->insertReturn;
        d->insertReturn = {};
        if (back.isNull()) {
            moveTo(readFirst(), -1);
        } else {
            OptRow row = readRow(back);
            if (!row)
                row = readNext(back);
            if (!row)
                row = readPrior(back);
            moveTo(row, 0);
        }
    } else {
        d->buf = d->oldBuf;
        computeDerived(d->buf, true);
    }
    notifyEditing();
    notifyDataSet();
    runHook(AfterCancel);
}

void DataSet::Delete()
{
    checkActive();
    if (d->state == DataSetState::Insert) {
        Cancel();
        return;
    }
    if (!d->hasRow)
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    checkWritable();
    notifyCheckBrowseMode();
    runHook(BeforeDelete);
    if (!d->hasRow)
        return;
    const bool wasEdit = d->state == DataSetState::Edit;
    const Bookmark at = d->bookmark;
    writeDelete(at);
    d->state = DataSetState::Browse;
    d->modified = false;
    OptRow row = readNext(at);
    if (row) {
        moveTo(row, 0);
    } else {
        row = readPrior(at);
        moveTo(row, 0);
    }
    if (wasEdit)
        notifyEditing();
    notifyDataSet();
    runHook(AfterDelete);
    runHook(AfterScroll);
}

void DataSet::Refresh()
{
    checkActive();
    CheckBrowseMode();
    refreshCursor();
    resyncCurrent();
}

bool DataSet::Locate(const QString &fieldNames, const QVariant &values)
{
    checkActive();
    CheckBrowseMode();
    QList<Field *> fields;
    for (const QString &n : splitNames(fieldNames))
        fields << FieldByName(n);
    QVariantList list = valueList(values, int(fields.size()));
    if (list.size() != fields.size())
        throw DatabaseError(QStringLiteral("Locate needs one value per field"));
    for (int i = 0; i < fields.size(); ++i)
        list[i] = fieldvalue::convert(fields[i]->DataType(), list[i], fields[i]->FieldName());
    return gotoRow(readLocate(fields, list));
}

QVariant DataSet::Lookup(const QString &keyFields, const QVariant &keyValues,
                         const QString &resultField)
{
    checkActive();
    QList<Field *> fields;
    for (const QString &n : splitNames(keyFields))
        fields << FieldByName(n);
    Field *result = FieldByName(resultField);
    QVariantList list = valueList(keyValues, int(fields.size()));
    if (list.size() != fields.size())
        return {};
    for (int i = 0; i < fields.size(); ++i)
        list[i] = fieldvalue::convert(fields[i]->DataType(), list[i], fields[i]->FieldName());
    const OptRow row = readLocate(fields, list);
    if (!row)
        return {};
    QVector<QVariant> values = row->values;
    values.resize(FieldCount());
    if (result->Kind() != FieldKind::Data)
        computeDerived(values, false);
    return values[result->Index()];
}

// ---- bookmarks ----------------------------------------------------------------------------

Bookmark DataSet::GetBookmark() const
{
    if (!Active() || !d->hasRow || d->state == DataSetState::Insert)
        return {};
    return d->bookmark;
}

void DataSet::GotoBookmark(const Bookmark &bookmark)
{
    checkActive();
    CheckBrowseMode();
    const OptRow row = bookmark.isNull() ? OptRow() : readRow(bookmark);
    if (!row)
        throw DatabaseError(QStringLiteral("Record not found"));
    gotoRow(row);
}

void DataSet::FreeBookmark(Bookmark &bookmark)
{
    bookmark = Bookmark();
}

bool DataSet::BookmarkValid(const Bookmark &bookmark) const
{
    return Active() && !bookmark.isNull() && readRow(bookmark).has_value();
}

// ---- controls -----------------------------------------------------------------------------

void DataSet::DisableControls()
{
    ++d->disableCount;
}

void DataSet::EnableControls()
{
    if (d->disableCount == 0)
        return;
    if (--d->disableCount > 0)
        return;
    if (d->activeChangedWhileDisabled) {
        d->activeChangedWhileDisabled = false;
        notifyActive();
    }
    notifyDataSet();
}

bool DataSet::ControlsDisabled() const
{
    return d->disableCount > 0;
}

void DataSet::forEachLink(const std::function<void(DataLink *)> &fn) const
{
    const auto sources = d->sources;
    for (const QPointer<DataSource> &s : sources) {
        if (!s)
            continue;
        const std::vector<DataLink *> links = s->m_links;
        for (DataLink *l : links) {
            // A link may go away while an earlier one reacts.
            if (s && std::find(s->m_links.begin(), s->m_links.end(), l) != s->m_links.end())
                fn(l);
        }
    }
}

void DataSet::notifyActive()
{
    if (d->disableCount > 0) {
        d->activeChangedWhileDisabled = true;
        return;
    }
    forEachLink([](DataLink *l) { l->activeChanged(); });
}

void DataSet::notifyDataSet()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->dataSetChanged(); });
}

void DataSet::notifyRecord(Field *field)
{
    if (d->disableCount > 0)
        return;
    forEachLink([field](DataLink *l) { l->recordChanged(field); });
}

void DataSet::notifyEditing()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->editingChanged(); });
}

void DataSet::updateControlsData()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->updateData(); });
}

void DataSet::notifyCheckBrowseMode()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->checkBrowseMode(); });
}

// ---- cached updates -----------------------------------------------------------------------

bool DataSet::CachedUpdates() const
{
    return d->cached;
}

void DataSet::setCachedUpdates(bool cached)
{
    if (d->cached == cached)
        return;
    if (Active()) {
        CheckBrowseMode();
        if (!cached && hasPendingUpdates())
            throw DatabaseError(QStringLiteral("Cached updates are pending"));
    }
    d->cached = cached;
    if (Active()) {
        cachedUpdatesChanged();
        rowsChanged();
    }
}

bool DataSet::UpdatesPending() const
{
    return Active() && d->cached && hasPendingUpdates();
}

void DataSet::ApplyUpdates()
{
    checkActive();
    if (!d->cached)
        return;
    CheckBrowseMode();
    applyPendingUpdates();
    rowsChanged();
}

void DataSet::CancelUpdates()
{
    checkActive();
    if (!d->cached)
        return;
    Cancel();
    cancelPendingUpdates();
    rowsChanged();
}

// ---- rows for grids -----------------------------------------------------------------------

QVector<RowSnapshot> DataSet::snapshots(const QVector<RowData> &rows) const
{
    QVector<RowSnapshot> result;
    result.reserve(rows.size());
    for (const RowData &row : rows) {
        RowSnapshot s{row.bookmark, row.values};
        s.values.resize(FieldCount());
        computeDerived(s.values, false);
        result.push_back(std::move(s));
    }
    return result;
}

RowSnapshot DataSet::CurrentRow() const
{
    if (!Active())
        return {};
    return {GetBookmark(), d->buf};
}

// ---- default drivers for read-only sets ---------------------------------------------------

Bookmark DataSet::writeInsert(const QVector<QVariant> &)
{
    throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

Bookmark DataSet::writeUpdate(const Bookmark &, const QVector<QVariant> &,
                              const QVector<QVariant> &)
{
    throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void DataSet::writeDelete(const Bookmark &)
{
    throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

} // namespace tb
