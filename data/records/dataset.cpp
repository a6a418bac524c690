#include "data/records/dataset.h"

#include "data/records/dataset_p.h"
#include "data/records/recordrules.h"
#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/book/sqlterms.h"
#include "data/book/transaction.h"

#include <QPointer>

#include <algorithm>
#include <exception>
#include <utility>

namespace tb {

namespace {

const char *const Closed = "Cannot perform this operation on a closed dataset";

bool sameValue(const QVariant &a, const QVariant &b)
{
    return sqlterms::isNull(a) == sqlterms::isNull(b) && (sqlterms::isNull(a) || a == b);
}

QVariantList valueList(const QVariant &values, int count)
{
    if (count == 1)
        return {values.typeId() == QMetaType::QVariantList && values.toList().size() == 1
                    ? values.toList().first() : values};
    return values.toList();
}

} // namespace

// DataSet, part one: the state machine (open and close, navigation, the edit cycle,
// bookmarks, cached updates). Fields and values live in datasetfields.cpp, the
// notification of links in datasetlinks.cpp.

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

void DataSet::addSource(DataSource *source)
{
    d->sources.push_back(source);
}

void DataSet::removeSource(DataSource *source)
{
    auto &sources = d->sources;
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

// ---- open and close -----------------------------------------------------------------------

void DataSet::Open()
{
    if (Active())
        return;
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
    emit opened();
    emit scrolled();
}

void DataSet::Close()
{
    if (!Active())
        return;
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
    emit closed();
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

bool DataSet::Editing() const
{
    return d->state == DataSetState::Edit || d->state == DataSetState::Insert;
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

void DataSet::setRules(RecordRules *rules)
{
    d->rules = rules;
}

RecordRules *DataSet::rules() const
{
    return d->rules;
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
    emit scrolled();
    return true;
}

// ---- navigation ---------------------------------------------------------------------------

void DataSet::CheckBrowseMode()
{
    checkActive();
    notifyCheckBrowseMode();
    if (!Editing())
        return;
    updateControlsData();
    if (d->modified)
        postRecord();
    else
        Cancel();
}

void DataSet::UpdateRecord()
{
    checkActive();
    if (Editing())
        updateControlsData();
}

void DataSet::First()
{
    checkActive();
    CheckBrowseMode();
    moveTo(readFirst(), -1);
    notifyDataSet();
    emit scrolled();
}

void DataSet::Last()
{
    checkActive();
    CheckBrowseMode();
    moveTo(readLast(), +1);
    notifyDataSet();
    emit scrolled();
}

void DataSet::Next()
{
    step(+1);
}

void DataSet::Prior()
{
    step(-1);
}

// One row on (+1) or back (-1); at the end in that direction the cursor stays and the
// end's flag is set.
void DataSet::step(int direction)
{
    checkActive();
    CheckBrowseMode();
    if (!d->hasRow) {
        setEmpty();
        return;
    }
    bool &atEnd = direction > 0 ? d->eof : d->bof;
    bool &atOtherEnd = direction > 0 ? d->bof : d->eof;
    if (atEnd)
        return;
    const OptRow row = direction > 0 ? readNext(d->bookmark) : readPrior(d->bookmark);
    atOtherEnd = false;
    if (row) {
        setCurrent(*row);
        atEnd = false;
        notifyDataSet();
    } else {
        atEnd = true;
    }
    emit scrolled();
}

void DataSet::rowsChanged()
{
    if (!Active())
        return;
    try {
        moveTo(readFirst(), -1);
    } catch (...) {
        // The rows cannot be read now (a server that is away): none is shown, rather than
        // one that may be gone.
        setEmpty();
        notifyDataSet();
        throw;
    }
    notifyDataSet();
    emit scrolled();
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

DataSet::OptRow DataSet::readAtOrNear(const Bookmark &bookmark) const
{
    OptRow row = readRow(bookmark);
    if (!row)
        row = readNext(bookmark);
    if (!row)
        row = readPrior(bookmark);
    return row;
}

void DataSet::positionAfterWrite(const Bookmark &bookmark)
{
    moveTo(readAtOrNear(bookmark), 0);
    notifyDataSet();
}

// ---- the edit cycle -----------------------------------------------------------------------

void DataSet::Insert()
{
    checkActive();
    checkWritable();
    CheckBrowseMode();
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
        initNewRecord(d->buf);
        computeDerived(d->buf, true);
        if (d->rules)
            d->rules->newRecord(*this);
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
    emit recordInserted();
    emit scrolled();
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
    d->oldBuf = d->buf;
    d->state = DataSetState::Edit;
    d->modified = false;
    notifyEditing();
    emit editStarted();
}

void DataSet::Post()
{
    checkActive();
    if (!Editing())
        throw DatabaseError(QString::fromLatin1(NotEditingMessage));
    updateControlsData();
    postRecord();
}

void DataSet::postRecord()
{
    if (d->rules)
        d->rules->beforePost(*this);
    if (!Editing())
        return;
    DataSetSnapshot before = snapshot();
    const Bookmark written = d->state == DataSetState::Insert
        ? writeInsert(d->buf) : writeUpdate(d->bookmark, d->oldBuf, d->buf);
    undoOnRollback(std::move(before));
    d->state = DataSetState::Browse;
    d->modified = false;
    positionAfterWrite(written);
    notifyEditing();
    emit posted();
}

void DataSet::Cancel()
{
    checkActive();
    if (!Editing())
        return;
    const bool wasInsert = d->state == DataSetState::Insert;
    d->state = DataSetState::Browse;
    d->modified = false;
    try {
        if (wasInsert) {
            returnFromInsert(std::exchange(d->insertReturn, Bookmark()));
        } else {
            d->buf = d->oldBuf;
            computeDerived(d->buf, true);
        }
    } catch (...) {
        // A cancel always ends the edit, even when the row to show cannot be read now (a
        // server that is away): the set then stands on no row, and the controls hear of it.
        setEmpty();
        notifyEditing();
        notifyDataSet();
        throw;
    }
    notifyEditing();
    notifyDataSet();
    emit cancelled();
}

void DataSet::returnFromInsert(const Bookmark &back)
{
    if (back.isNull()) {
        moveTo(readFirst(), -1);
        return;
    }
    moveTo(readAtOrNear(back), 0);
}

bool DataSet::ReloadKeepingChanges()
{
    checkActive();
    if (d->state != DataSetState::Edit || !d->hasRow)
        return false;
    updateControlsData(); // what is typed but not yet written counts as changed
    const OptRow row = readRow(d->bookmark);
    if (!row)
        return false;
    QVector<QVariant> stored = row->values;
    stored.resize(FieldCount());
    computeDerived(stored, false);
    QVector<QVariant> values = stored;
    for (const auto &field : d->fields) {
        const int i = field->Index();
        if (field->Kind() == FieldKind::Data && !sameValue(d->buf.value(i), d->oldBuf.value(i)))
            values[i] = d->buf.value(i);
    }
    d->oldBuf = stored;
    d->buf = values;
    d->bookmark = row->bookmark;
    computeDerived(d->buf, true);
    d->modified = true;
    notifyDataSet();
    return true;
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
    if (d->rules)
        d->rules->beforeDelete(*this);
    if (!d->hasRow)
        return;
    const bool wasEdit = d->state == DataSetState::Edit;
    const Bookmark at = d->bookmark;
    DataSetSnapshot before = snapshot();
    writeDelete(at);
    undoOnRollback(std::move(before));
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
    emit recordDeleted();
    emit scrolled();
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
    for (const QString &n : splitFieldNames(fieldNames))
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
    for (const QString &n : splitFieldNames(keyFields))
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
    DataSetSnapshot before = snapshot();
    applyPendingUpdates();
    undoOnRollback(std::move(before));
    rowsChanged();
}

void DataSet::CancelUpdates()
{
    checkActive();
    if (!d->cached)
        return;
    // What was pending goes even when rows cannot be read again now (a server that is
    // away); the first failure is told afterwards.
    std::exception_ptr failure;
    try {
        Cancel();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        cancelPendingUpdates();
        rowsChanged();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
        setEmpty();
        notifyDataSet();
    }
    if (failure)
        std::rethrow_exception(failure);
}

// ---- transactions ------------------------------------------------------------------------

DataSetSnapshot DataSet::snapshot()
{
    const QSqlDatabase db = writeConnection();
    if (!db.isValid() || !Transaction::isOpen(db))
        return {};
    return {d->state, d->bof, d->eof, d->hasRow, d->buf, d->oldBuf, d->bookmark,
            d->insertReturn, d->modified, saveDriverState()};
}

void DataSet::undoOnRollback(DataSetSnapshot snapshot)
{
    const QSqlDatabase db = writeConnection();
    if (snapshot.state == DataSetState::Inactive || !db.isValid())
        return;
    QPointer<DataSet> self(this);
    Transaction::onRollback(db, [self, snapshot = std::move(snapshot)] {
        if (self)
            self->restore(snapshot);
    });
}

void DataSet::restore(const DataSetSnapshot &s)
{
    if (!Active())
        return; // closed meanwhile: there is nothing left to stand on
    if (s.restoreDriver)
        s.restoreDriver();
    d->state = s.state;
    d->bof = s.bof;
    d->eof = s.eof;
    d->hasRow = s.hasRow;
    d->buf = s.buf;
    d->oldBuf = s.oldBuf;
    d->bookmark = s.bookmark;
    d->insertReturn = s.insertReturn;
    d->modified = s.modified;
    notifyEditing();
    notifyDataSet();
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
