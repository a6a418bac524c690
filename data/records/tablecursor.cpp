#include "data/records/tablecursor.h"

#include "data/records/cachedview.h"
#include "data/book/database.h"
#include "data/records/datasource.h"
#include "data/records/sourcebinding.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/records/keysetquery.h"
#include "data/book/pgdatabase.h"
#include "data/records/rowwriter.h"
#include "data/book/schema.h"

#include <QHash>
#include <QPointer>

#include <algorithm>

namespace tb {

using sqlterms::isNull;

namespace {

QStringList primaryKeyOf(const std::vector<Schema::StoredColumn> &stored)
{
    std::vector<const Schema::StoredColumn *> key;
    for (const auto &c : stored)
        if (c.keyPosition > 0)
            key.push_back(&c);
    std::sort(key.begin(), key.end(), [](auto *a, auto *b) {
        return a->keyPosition < b->keyPosition;
    });
    QStringList names;
    for (const auto *c : key)
        names << c->name;
    return names;
}

} // namespace

// The detail side of master/detail: follows the master's data source, and posts or cancels
// a line being edited before the master moves.
class TableCursor::MasterLink final : public EditHolder
{
public:
    explicit MasterLink(TableCursor *owner)
        : m_owner(owner), m_binding(owner, reactions(owner), this)
    {
    }
    SourceBinding &binding() { return m_binding; }

    void settleBeforeMove() override
    {
        if (m_owner->Active())
            m_owner->CheckBrowseMode();
    }

private:
    static SourceBinding::Reactions reactions(TableCursor *owner);

    TableCursor *m_owner;
    SourceBinding m_binding;
};

struct TableCursor::Private
{
    TableCursor *q;
    QString alias = QString::fromLatin1(Database::DefaultAlias);
    QString table;
    QString indexFieldNames;
    QString indexName;
    QPointer<DataSource> masterSource;
    QString masterFields;
    QString detailFields;
    std::unique_ptr<MasterLink> link;
    QVariantList startValues;
    QVariantList endValues;
    QVariantList rangeStart; // stored form
    QVariantList rangeEnd;
    QVariantList rangeStartRaw; // as given, converted on open
    QVariantList rangeEndRaw;
    bool rangeActive = false;

    // Resolved by Open.
    QSqlDatabase db;
    QString storedName;                   // the table's name as the database spells it
    QHash<QString, QString> columnName;   // lower-case name -> stored name
    QHash<QString, FieldType> columnType; // lower-case name -> type
    QStringList primaryKey;               // stored names, in key order; empty if none
    QStringList orderCols;
    QStringList detailCols;
    QStringList filterCols; // order columns, then link columns not in the order
    QVector<QString> fieldCol;   // per field index: its column, empty for derived fields
    bool masterEmpty = false;
    QVariantList masterValues; // stored form, per detail column
    KeysetQuery query;
    RowWriter writer;
    std::unique_ptr<CachedView> cache; // reads through query

    bool masterBound() const { return masterSource && !splitFieldNames(masterFields).isEmpty(); }

    FieldType typeOf(const QString &column) const
    {
        return columnType.value(column.toLower(), FieldType::String);
    }

    QVariant storageFor(const QString &column, const QVariant &value) const
    {
        const FieldType t = typeOf(column);
        return fieldvalue::toStorage(t, fieldvalue::convert(t, value, column));
    }

    QString column(const QString &name) const
    {
        const QString c = columnName.value(name.toLower());
        if (c.isEmpty())
            throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"), {name}));
        return c;
    }

    QStringList orderNames() const
    {
        if (!indexFieldNames.trimmed().isEmpty())
            return splitFieldNames(indexFieldNames);
        const TableDef *def = Schema::table(table);
        if (!indexName.trimmed().isEmpty()) {
            if (def)
                for (const IndexDef &index : def->indexes)
                    if (index.name.compare(indexName.trimmed(), Qt::CaseInsensitive) == 0)
                        return index.columns;
            throw DatabaseError(formatMessage(QStringLiteral("Index '%s' not found"),
                                              {indexName}));
        }
        return def ? def->primaryKey : QStringList();
    }

    void resolveOrder()
    {
        QStringList order;
        for (const QString &n : orderNames())
            order << column(n);
        QStringList detail;
        const int links = int(splitFieldNames(masterFields).size());
        if (!detailFields.trimmed().isEmpty()) {
            for (const QString &n : splitFieldNames(detailFields))
                detail << column(n);
        } else {
            for (int i = 0; i < links && i < order.size(); ++i)
                detail << order[i];
        }
        if (masterBound() && detail.size() != links)
            throw DatabaseError(QStringLiteral("Master and detail fields do not match"));
        orderCols = order;
        detailCols = detail;
        filterCols = order;
        for (const QString &c : detail)
            if (!filterCols.contains(c))
                filterCols << c;
        query.setLayout(layout());
        writer.setLayout(layout());
        rangeStart.clear();
        rangeEnd.clear();
        for (int i = 0; i < rangeStartRaw.size() && i < orderCols.size(); ++i)
            rangeStart << storageFor(orderCols[i], rangeStartRaw[i]);
        for (int i = 0; i < rangeEndRaw.size() && i < orderCols.size(); ++i)
            rangeEnd << storageFor(orderCols[i], rangeEndRaw[i]);
    }

    TableLayout layout() const
    {
        TableLayout l{db, storedName, orderCols, filterCols, fieldCol, {}, {}, {}};
        for (int i = 0; i < fieldCol.size(); ++i)
            l.fieldType << q->FieldAt(i)->DataType();
        l.setIdentity(primaryKey);
        return l;
    }

    KeyFilter filter() const
    {
        return {orderCols, filterCols, masterBound(), masterEmpty, detailCols, masterValues,
                rangeActive, rangeStart, rangeEnd};
    }

    void computeMaster(QVariantList &values, bool &empty) const
    {
        values.clear();
        empty = false;
        if (!masterBound())
            return;
        DataSet *master = masterSource->dataSet();
        if (!master || !master->Active()
            || (master->IsEmpty() && master->State() != DataSetState::Insert)) {
            empty = true;
            return;
        }
        const QStringList names = splitFieldNames(masterFields);
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = master->FieldByName(names[i])->AsVariant();
            // Lines of a header without a number: none.
            if (isNull(v))
                empty = true;
            values << (i < detailCols.size() ? storageFor(detailCols[i], v) : v);
        }
    }

    static OptRow first(const KeysetQuery::Rows &rows)
    {
        if (rows.empty())
            return std::nullopt;
        return RowData{rows.front().bookmark, rows.front().values};
    }

    // ---- the cache ----------------------------------------------------------------------

    bool cached() const { return cache && q->CachedUpdates(); }

    void reloadCache()
    {
        if (!cache)
            cache = std::make_unique<CachedView>(query);
        cache->reload(filter());
    }

    RowData cachedRow(int position) const
    {
        const CachedRows::Row &row = cache->at(position);
        return {QVariant(row.id), row.values};
    }

    OptRow cachedAt(int position) const
    {
        if (position < 0 || position >= cache->count())
            return std::nullopt;
        return cachedRow(position);
    }

};

SourceBinding::Reactions TableCursor::MasterLink::reactions(TableCursor *owner)
{
    SourceBinding::Reactions r;
    r.activeChanged = [owner] { owner->masterChanged(true); };
    r.dataSetChanged = [owner] { owner->masterChanged(false); };
    r.recordChanged = [owner](Field *field) {
        if (!field || splitFieldNames(owner->p->masterFields)
                          .contains(field->FieldName(), Qt::CaseInsensitive))
            owner->masterChanged(false);
    };
    return r;
}

TableCursor::TableCursor(QObject *parent) : DataSet(parent), p(std::make_unique<Private>())
{
    p->q = this;
    p->link = std::make_unique<MasterLink>(this);
}

TableCursor::~TableCursor()
{
    p->link.reset();
}

void TableCursor::setDatabaseName(const QString &alias)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    p->alias = alias;
}

QString TableCursor::DatabaseName() const
{
    return p->alias;
}

void TableCursor::setTableName(const QString &table)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    p->table = table;
}

QString TableCursor::TableName() const
{
    return p->table;
}

void TableCursor::setIndexFieldNames(const QString &fields)
{
    p->indexFieldNames = fields;
    p->indexName.clear();
    orderChanged();
}

QString TableCursor::IndexFieldNames() const
{
    return p->indexFieldNames;
}

void TableCursor::setIndexName(const QString &indexName)
{
    p->indexName = indexName;
    p->indexFieldNames.clear();
    orderChanged();
}

QStringList TableCursor::IndexFields() const
{
    return Active() ? p->orderCols : p->orderNames();
}

void TableCursor::orderChanged()
{
    if (!Active())
        return;
    CheckBrowseMode();
    p->resolveOrder();
    if (p->cached())
        p->reloadCache();
    resyncCurrent();
}

void TableCursor::setMasterSource(DataSource *master)
{
    p->masterSource = master;
    p->link->binding().setDataSource(master);
    masterChanged(true);
}

void TableCursor::setMasterFields(const QString &masterFields)
{
    p->masterFields = masterFields;
    if (Active()) {
        CheckBrowseMode();
        p->resolveOrder();
    }
    masterChanged(true);
}

void TableCursor::setDetailFields(const QString &detailFields)
{
    p->detailFields = detailFields;
    if (Active()) {
        CheckBrowseMode();
        p->resolveOrder();
    }
    masterChanged(true);
}

void TableCursor::masterChanged(bool force)
{
    if (!Active())
        return;
    QVariantList values;
    bool empty = false;
    p->computeMaster(values, empty);
    if (!force && empty == p->masterEmpty && values.size() == p->masterValues.size()) {
        bool same = true;
        for (int i = 0; i < values.size() && same; ++i)
            same = fieldvalue::compareStored(values[i], p->masterValues[i]) == 0;
        if (same)
            return;
    }
    // A line in edit or insert is settled under the header it belongs to.
    CheckBrowseMode();
    p->masterValues = values;
    p->masterEmpty = empty;
    // Pending changes of the lines of other headers stay in the cache until applied or
    // cancelled; only the view changes.
    if (p->cached())
        p->reloadCache();
    rowsChanged();
}

bool TableCursor::FindKey(const QVariantList &keyValues)
{
    if (!Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    CheckBrowseMode();
    const int n = std::min(int(keyValues.size()), int(p->orderCols.size()));
    if (n == 0)
        return false;
    QVariantList keys;
    for (int i = 0; i < n; ++i)
        keys << p->storageFor(p->orderCols[i], keyValues[i]);
    if (p->cached()) {
        const int pos = p->cache->findKey(keys);
        return pos >= 0 && gotoRow(p->cachedRow(pos));
    }
    return gotoRow(Private::first(p->query.equal(p->filter(), p->orderCols.mid(0, n), keys)));
}

void TableCursor::SetRangeStart(const QVariantList &values)
{
    p->startValues = values;
}

void TableCursor::SetRangeEnd(const QVariantList &values)
{
    p->endValues = values;
}

void TableCursor::ApplyRange()
{
    if (Active())
        CheckBrowseMode();
    p->rangeStartRaw = p->startValues;
    p->rangeEndRaw = p->endValues;
    p->rangeActive = true;
    if (!Active())
        return;
    p->resolveOrder();
    if (p->cached())
        p->reloadCache();
    rowsChanged();
}

void TableCursor::SetRange(const QVariantList &start, const QVariantList &end)
{
    SetRangeStart(start);
    SetRangeEnd(end);
    ApplyRange();
}

void TableCursor::CancelRange()
{
    if (Active())
        CheckBrowseMode();
    p->rangeActive = false;
    p->rangeStartRaw.clear();
    p->rangeEndRaw.clear();
    if (!Active())
        return;
    p->resolveOrder();
    if (p->cached())
        p->reloadCache();
    rowsChanged();
}

// ---- the driver ---------------------------------------------------------------------------

void TableCursor::openCursor()
{
    if (p->table.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("No table name given"));
    p->db = Database::connection(p->alias);
    const Schema::StoredTable storedTable = Schema::storedTable(p->db, p->table);
    const auto &stored = storedTable.columns;
    if (stored.empty())
        throw DatabaseError(formatMessage(QStringLiteral("Table '%s' does not exist"),
                                          {p->table}));
    p->columnName.clear();
    p->columnType.clear();
    p->storedName = storedTable.name;
    p->primaryKey = primaryKeyOf(stored);
    // Only SQLite has a row id to fall back on.
    if (p->primaryKey.isEmpty() && PgDatabase::isPostgres(p->db))
        throw DatabaseError(formatMessage(QStringLiteral("Table '%s' has no primary key"),
                                          {p->table}));
    QHash<QString, QString> declared;
    for (const auto &c : stored) {
        p->columnName.insert(c.name.toLower(), c.name);
        declared.insert(c.name.toLower(), c.declaredType);
        FieldType t = FieldType::String;
        if (Schema::fieldTypeOf(c.declaredType, &t))
            p->columnType.insert(c.name.toLower(), t);
    }
    bool anyData = false;
    for (int i = 0; i < FieldCount(); ++i)
        anyData = anyData || FieldAt(i)->Kind() == FieldKind::Data;
    if (!anyData) {
        const TableDef *def = Schema::table(p->table);
        for (const auto &c : stored) {
            const ColumnDef *cd = def ? def->column(c.name) : nullptr;
            addDynamicField(cd ? cd->name : c.name, p->typeOf(c.name), cd ? cd->size : 0);
        }
    }
    p->fieldCol = QVector<QString>(FieldCount());
    for (int i = 0; i < FieldCount(); ++i) {
        Field *f = FieldAt(i);
        if (f->Kind() != FieldKind::Data)
            continue;
        const QString key = f->FieldName().toLower();
        if (!p->columnName.contains(key))
            throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"),
                                              {f->FieldName()}));
        FieldType actual;
        const bool known = Schema::fieldTypeOf(declared.value(key), &actual);
        if (!known || actual != f->DataType())
            throw DatabaseError(formatMessage(
                QStringLiteral("Type mismatch for field '%s', expecting: %s actual: %s"),
                {f->FieldName(), fieldTypeName(f->DataType()),
                 known ? fieldTypeName(actual) : declared.value(key)}));
        p->fieldCol[i] = p->columnName.value(key);
    }
    p->resolveOrder();
    p->computeMaster(p->masterValues, p->masterEmpty);
    if (CachedUpdates())
        p->reloadCache();
}

void TableCursor::closeCursor()
{
    p->cache.reset();
    p->query.clear();
    p->writer.clear();
    p->db = QSqlDatabase();
}

TableCursor::OptRow TableCursor::readFirst() const
{
    if (p->cached())
        return p->cachedAt(0);
    return Private::first(p->query.fromEnd(p->filter(), true, 1));
}

TableCursor::OptRow TableCursor::readLast() const
{
    if (p->cached())
        return p->cachedAt(p->cache->count() - 1);
    return Private::first(p->query.fromEnd(p->filter(), false, 1));
}

TableCursor::OptRow TableCursor::readNext(const Bookmark &from) const
{
    if (p->cached())
        return p->cachedAt(p->cache->after(from.toLongLong()));
    return Private::first(p->query.from(p->filter(), from.toList(), true, 1));
}

TableCursor::OptRow TableCursor::readPrior(const Bookmark &from) const
{
    if (p->cached())
        return p->cachedAt(p->cache->before(from.toLongLong()));
    return Private::first(p->query.from(p->filter(), from.toList(), false, 1));
}

TableCursor::OptRow TableCursor::readRow(const Bookmark &bookmark) const
{
    if (p->cached()) {
        if (bookmark.typeId() == QMetaType::QVariantList)
            return std::nullopt;
        return p->cachedAt(p->cache->position(bookmark.toLongLong()));
    }
    const QVariantList list = bookmark.toList();
    if (list.isEmpty())
        return std::nullopt;
    return Private::first(p->query.byBookmark(p->filter(), list));
}

TableCursor::OptRow TableCursor::readLocate(const QList<Field *> &fields,
                                            const QVariantList &values) const
{
    for (Field *f : fields)
        if (f->Kind() != FieldKind::Data)
            throw DatabaseError(formatMessage(
                QStringLiteral("Field '%s' cannot be used in a search"), {f->FieldName()}));
    if (p->cached())
        return p->cachedAt(p->cache->locate(fields, values));
    QStringList columns;
    QVariantList stored;
    for (int i = 0; i < fields.size(); ++i) {
        columns << p->fieldCol[fields[i]->Index()];
        stored << fieldvalue::toStorage(fields[i]->DataType(), values[i]);
    }
    return Private::first(p->query.equal(p->filter(), columns, stored));
}

Bookmark TableCursor::writeInsert(const QVector<QVariant> &values)
{
    if (p->cached())
        return QVariant(p->cache->insert(values, p->filter()));
    const QVariantList identity = p->writer.insert(values);
    return p->query.bookmarkFor(values, {}, identity);
}

Bookmark TableCursor::writeUpdate(const Bookmark &bookmark, const QVector<QVariant> &oldValues,
                                  const QVector<QVariant> &values)
{
    if (p->cached()) {
        p->cache->update(bookmark.toLongLong(), values, p->filter());
        return bookmark;
    }
    const QVariantList identity = p->query.identityOf(bookmark.toList());
    if (identity.isEmpty())
        throw DatabaseError(QStringLiteral("Record not found"));
    p->writer.update(identity, oldValues, values);
    return p->query.bookmarkFor(values, bookmark.toList(),
                                p->query.identityFor(values, identity));
}

void TableCursor::writeDelete(const Bookmark &bookmark)
{
    if (p->cached()) {
        p->cache->remove(bookmark.toLongLong());
        return;
    }
    const QVariantList identity = p->query.identityOf(bookmark.toList());
    if (identity.isEmpty())
        throw DatabaseError(QStringLiteral("Record not found"));
    p->writer.remove(identity);
}

void TableCursor::initNewRecord(QVector<QVariant> &values)
{
    if (!p->masterBound() || p->masterEmpty)
        return;
    for (int i = 0; i < p->detailCols.size(); ++i) {
        const int f = int(p->fieldCol.indexOf(p->detailCols[i]));
        if (f >= 0 && f < values.size())
            values[f] = fieldvalue::fromStorage(FieldAt(f)->DataType(), p->masterValues.value(i),
                                                FieldAt(f)->FieldName());
    }
}

void TableCursor::refreshCursor()
{
    if (p->cached())
        p->reloadCache();
}

void TableCursor::cachedUpdatesChanged()
{
    if (CachedUpdates())
        p->reloadCache();
    else
        p->cache.reset();
}

bool TableCursor::hasPendingUpdates() const
{
    return p->cached() && p->cache->pending();
}

void TableCursor::applyPendingUpdates()
{
    if (!p->cached())
        return;
    p->cache->apply(p->writer);
    p->reloadCache();
}

void TableCursor::cancelPendingUpdates()
{
    if (!p->cached())
        return;
    p->cache->clear();
    p->reloadCache();
}

QSqlDatabase TableCursor::writeConnection() const
{
    return p->db;
}

std::function<void()> TableCursor::saveDriverState()
{
    if (!p->cached())
        return {};
    return [this, rows = p->cache->rows()] {
        if (p->cached())
            p->cache->restore(rows);
    };
}

bool TableCursor::RowPendingInsert() const
{
    if (!p->cached() || !Active() || IsEmpty())
        return false;
    const Bookmark at = GetBookmark();
    if (at.typeId() == QMetaType::QVariantList)
        return false;
    const CachedRows::Row *row = p->cache->rows().find(at.toLongLong());
    return row && row->status == CachedRows::Status::Inserted;
}

// ---- bookmarks and pages ------------------------------------------------------------------

int TableCursor::CompareBookmarks(const Bookmark &a, const Bookmark &b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (p->cached() && a.typeId() != QMetaType::QVariantList
        && b.typeId() != QMetaType::QVariantList) {
        return p->cache->compare(a.toLongLong(), b.toLongLong());
    }
    const QVariantList la = a.toList(), lb = b.toList();
    for (int i = 0; i < la.size() && i < lb.size(); ++i)
        if (const int c = fieldvalue::compareStored(la[i], lb[i]))
            return c;
    return 0;
}

QVector<RowSnapshot> TableCursor::ReadRows(const Bookmark &anchor, int count, bool forward) const
{
    if (!Active() || count <= 0)
        return {};
    QVector<RowData> rows;
    if (p->cached()) {
        const auto [from, to] = p->cache->page(anchor, count, forward);
        for (int pos = from; pos < to; ++pos)
            rows << p->cachedRow(pos);
        return snapshots(rows);
    }
    KeysetQuery::Rows fetched = anchor.isNull()
        ? p->query.fromEnd(p->filter(), forward, count)
        : p->query.from(p->filter(), anchor.toList(), forward, count);
    if (!forward)
        std::reverse(fetched.begin(), fetched.end());
    for (const auto &f : fetched)
        rows << RowData{f.bookmark, f.values};
    return snapshots(rows);
}

} // namespace tb
