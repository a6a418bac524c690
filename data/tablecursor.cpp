#include "data/tablecursor.h"

#include "data/cachedrows.h"
#include "data/database.h"
#include "data/dataset_p.h"
#include "data/datasource.h"
#include "data/errors.h"
#include "data/fieldvalue.h"
#include "data/schema.h"

#include <QHash>
#include <QPointer>
#include <QSqlQuery>

#include <algorithm>
#include <limits>

namespace tb {

namespace {

QStringList splitNames(const QString &names)
{
    QStringList result;
    for (const QString &n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty())
            result << n.trimmed();
    return result;
}

bool isNull(const QVariant &v)
{
    return v.isNull() || !v.isValid();
}

const QString RowId = QStringLiteral("rowid");

QString quoted(const QString &column)
{
    return column == RowId ? column : quoteName(column);
}

// A WHERE clause under construction; every value is bound, never pasted.
struct Sql
{
    QStringList where;
    QVariantList binds;
    void add(const QString &condition) { where << condition; }
};

// Terms of the order with NULL as the lowest value, the way SQLite sorts it.
QString eqTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return quoted(column) + QLatin1String(" IS NULL");
    binds << v;
    return quoted(column) + QLatin1String(" = ?");
}

QString gtTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return quoted(column) + QLatin1String(" IS NOT NULL");
    binds << v;
    return quoted(column) + QLatin1String(" > ?");
}

QString ltTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return QStringLiteral("0");
    binds << v;
    return QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(quoted(column));
}

// (columns) after / before (values) in lexicographic order, optionally equal too.
QString lexTerm(const QStringList &columns, const QVariantList &values, bool after,
                bool inclusive, QVariantList &binds)
{
    QStringList alternatives;
    for (int i = 0; i < columns.size(); ++i) {
        QStringList all;
        for (int j = 0; j < i; ++j)
            all << eqTerm(columns[j], values[j], binds);
        all << (after ? gtTerm(columns[i], values[i], binds)
                      : ltTerm(columns[i], values[i], binds));
        alternatives << QLatin1Char('(') + all.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    if (inclusive) {
        QStringList all;
        for (int j = 0; j < columns.size(); ++j)
            all << eqTerm(columns[j], values[j], binds);
        alternatives << QLatin1Char('(') + all.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    return QLatin1Char('(') + alternatives.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

int comparePrefix(const QVariantList &keys, const QVariantList &bound)
{
    for (int i = 0; i < bound.size() && i < keys.size(); ++i)
        if (const int c = fieldvalue::compareStored(keys[i], bound[i]))
            return c;
    return 0;
}

} // namespace

class TableCursor::MasterLink : public DataLink
{
public:
    explicit MasterLink(TableCursor *owner) : m_owner(owner) {}

protected:
    void activeChanged() override { m_owner->masterChanged(true); }
    void dataSetChanged() override { m_owner->masterChanged(false); }
    void recordChanged(Field *field) override;
    // The master is about to move: a line being edited is posted (or cancelled) first.
    void checkBrowseMode() override
    {
        if (m_owner->Active())
            m_owner->CheckBrowseMode();
    }

private:
    TableCursor *m_owner;
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
    QHash<QString, QString> columnName;   // lower-case name -> stored name
    QHash<QString, FieldType> columnType; // lower-case name -> type
    QStringList orderCols;
    QStringList detailCols;
    QStringList filterCols; // order columns, then link columns not in the order
    QVector<QString> fieldCol;   // per field index: its column, empty for derived fields
    QString select;
    bool masterEmpty = false;
    QVariantList masterValues; // stored form, per detail column
    std::unique_ptr<CachedRows> cache;

    bool masterBound() const { return masterSource && !splitNames(masterFields).isEmpty(); }

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
            return splitNames(indexFieldNames);
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
        const int links = int(splitNames(masterFields).size());
        if (!detailFields.trimmed().isEmpty()) {
            for (const QString &n : splitNames(detailFields))
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
        QStringList parts{RowId};
        for (const QString &c : filterCols)
            parts << quoted(c);
        for (const QString &c : fieldCol)
            if (!c.isEmpty())
                parts << quoted(c);
        select = QStringLiteral("SELECT %1 FROM %2").arg(parts.join(QLatin1String(", ")),
                                                         quoteName(table));
        rangeStart.clear();
        rangeEnd.clear();
        for (int i = 0; i < rangeStartRaw.size() && i < orderCols.size(); ++i)
            rangeStart << storageFor(orderCols[i], rangeStartRaw[i]);
        for (int i = 0; i < rangeEndRaw.size() && i < orderCols.size(); ++i)
            rangeEnd << storageFor(orderCols[i], rangeEndRaw[i]);
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
        const QStringList names = splitNames(masterFields);
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = master->FieldByName(names[i])->AsVariant();
            // Lines of a header without a number: none.
            if (isNull(v))
                empty = true;
            values << (i < detailCols.size() ? storageFor(detailCols[i], v) : v);
        }
    }

    void addFilter(Sql &s) const
    {
        if (masterBound()) {
            if (masterEmpty) {
                s.add(QStringLiteral("0"));
            } else {
                for (int i = 0; i < detailCols.size(); ++i)
                    s.add(eqTerm(detailCols[i], masterValues.value(i), s.binds));
            }
        }
        if (!rangeActive)
            return;
        const QStringList cols = orderCols;
        if (!rangeStart.isEmpty()) {
            const QStringList prefix = cols.mid(0, rangeStart.size());
            if (!isNull(rangeStart[0])) {
                s.binds << rangeStart[0];
                s.add(quoted(prefix[0]) + QLatin1String(" >= ?"));
            }
            s.add(lexTerm(prefix, rangeStart, true, true, s.binds));
        }
        if (!rangeEnd.isEmpty()) {
            const QStringList prefix = cols.mid(0, rangeEnd.size());
            if (!isNull(rangeEnd[0])) {
                s.binds << rangeEnd[0];
                if (!rangeStart.isEmpty() && !isNull(rangeStart[0]))
                    s.add(quoted(prefix[0]) + QLatin1String(" <= ?"));
                else
                    s.add(QStringLiteral("(%1 <= ? OR %1 IS NULL)").arg(quoted(prefix[0])));
            }
            s.add(lexTerm(prefix, rangeEnd, false, true, s.binds));
        }
    }

    QString orderBy(bool forward) const
    {
        QStringList parts;
        const QString dir = forward ? QString() : QStringLiteral(" DESC");
        for (const QString &c : orderCols)
            parts << quoted(c) + dir;
        parts << RowId + dir;
        return parts.join(QLatin1String(", "));
    }

    struct Fetched
    {
        RowData row;
        qint64 rowid;
        QVariantList keys; // filter columns, stored form
    };

    std::vector<Fetched> run(const Sql &s, bool forward, int limit) const
    {
        QString sql = select;
        if (!s.where.isEmpty())
            sql += QLatin1String(" WHERE ") + s.where.join(QLatin1String(" AND "));
        sql += QLatin1String(" ORDER BY ") + orderBy(forward);
        if (limit > 0)
            sql += QLatin1String(" LIMIT ") + QString::number(limit);
        QSqlQuery query = Database::exec(db, sql, s.binds);
        std::vector<Fetched> result;
        const int nFilter = int(filterCols.size());
        while (query.next()) {
            Fetched f;
            f.rowid = query.value(0).toLongLong();
            for (int i = 0; i < nFilter; ++i)
                f.keys << query.value(1 + i);
            QVariantList bookmark = f.keys.mid(0, orderCols.size());
            bookmark << f.rowid;
            f.row.bookmark = bookmark;
            f.row.values = QVector<QVariant>(q->FieldCount());
            int pos = 1 + nFilter;
            for (int i = 0; i < fieldCol.size(); ++i) {
                if (fieldCol[i].isEmpty())
                    continue;
                f.row.values[i] = fieldvalue::fromStorage(q->FieldAt(i)->DataType(),
                                                          query.value(pos++));
            }
            result.push_back(std::move(f));
        }
        return result;
    }

    static OptRow first(const std::vector<Fetched> &rows)
    {
        if (rows.empty())
            return std::nullopt;
        return rows.front().row;
    }

    // Keyset navigation: the rows after (or before) an anchor, each page one indexed query.
    std::vector<Fetched> fetchFrom(const QVariantList &anchor, bool forward, int limit) const
    {
        const int n = int(orderCols.size());
        Sql s;
        addFilter(s);
        if (anchor.size() != n + 1) // a bookmark of another order: start from the end
            return run(s, forward, limit);
        QStringList cols = orderCols;
        cols << RowId;
        const QVariant k0 = n > 0 ? anchor[0] : QVariant(0);
        if (forward) {
            if (n > 0 && !isNull(k0)) {
                s.binds << k0;
                s.add(quoted(cols[0]) + QLatin1String(" >= ?"));
            }
            s.add(lexTerm(cols, anchor, true, false, s.binds));
            return run(s, true, limit);
        }
        if (n == 0 || isNull(k0)) {
            if (n > 0)
                s.add(quoted(cols[0]) + QLatin1String(" IS NULL"));
            s.add(lexTerm(cols, anchor, false, false, s.binds));
            return run(s, false, limit);
        }
        // Backwards: the non-null part through the index, then the rows with a null key.
        Sql a = s;
        a.binds << k0;
        a.add(quoted(cols[0]) + QLatin1String(" <= ?"));
        a.add(lexTerm(cols, anchor, false, false, a.binds));
        std::vector<Fetched> rows = run(a, false, limit);
        if (limit <= 0 || int(rows.size()) < limit) {
            Sql b = s;
            b.add(quoted(cols[0]) + QLatin1String(" IS NULL"));
            std::vector<Fetched> more = run(b, false, limit > 0 ? limit - int(rows.size()) : 0);
            rows.insert(rows.end(), more.begin(), more.end());
        }
        return rows;
    }

    // ---- the cache ----------------------------------------------------------------------

    bool cached() const { return cache && q->CachedUpdates(); }

    QVariantList keysFor(const QVector<QVariant> &values, const QVariantList &previous) const
    {
        QVariantList keys;
        for (int i = 0; i < filterCols.size(); ++i) {
            const int f = int(fieldCol.indexOf(filterCols[i]));
            if (f >= 0)
                keys << fieldvalue::toStorage(typeOf(filterCols[i]), values.value(f));
            else
                keys << previous.value(i);
        }
        return keys;
    }

    static qint64 tieBreak(const CachedRows::Row &row)
    {
        // Rows only in the cache come after the stored ones with equal keys, in the order
        // they were added.
        return row.rowid > 0 ? row.rowid : std::numeric_limits<qint64>::max() / 2 - row.id;
    }

    CachedRows::Less less() const
    {
        const int n = int(orderCols.size());
        return [n](const CachedRows::Row &a, const CachedRows::Row &b) {
            for (int i = 0; i < n; ++i)
                if (const int c = fieldvalue::compareStored(a.keys.value(i), b.keys.value(i)))
                    return c < 0;
            return tieBreak(a) < tieBreak(b);
        };
    }

    CachedRows::Match match() const
    {
        return [this](const CachedRows::Row &row) {
            if (masterBound()) {
                if (masterEmpty)
                    return false;
                for (int i = 0; i < detailCols.size(); ++i) {
                    const int k = int(filterCols.indexOf(detailCols[i]));
                    if (fieldvalue::compareStored(row.keys.value(k), masterValues.value(i)))
                        return false;
                }
            }
            if (rangeActive) {
                if (!rangeStart.isEmpty() && comparePrefix(row.keys, rangeStart) < 0)
                    return false;
                if (!rangeEnd.isEmpty() && comparePrefix(row.keys, rangeEnd) > 0)
                    return false;
            }
            return true;
        };
    }

    void reloadCache()
    {
        if (!cache)
            cache = std::make_unique<CachedRows>();
        Sql s;
        addFilter(s);
        std::vector<CachedRows::Row> stored;
        for (Fetched &f : run(s, true, 0)) {
            CachedRows::Row row;
            row.id = f.rowid;
            row.rowid = f.rowid;
            row.values = f.row.values;
            row.keys = f.keys;
            stored.push_back(std::move(row));
        }
        cache->load(stored, match(), less());
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

    // ---- writing ------------------------------------------------------------------------

    qint64 insertRow(const QVector<QVariant> &values) const
    {
        QStringList cols, marks;
        QVariantList binds;
        for (int i = 0; i < fieldCol.size(); ++i) {
            if (fieldCol[i].isEmpty())
                continue;
            cols << quoted(fieldCol[i]);
            marks << QStringLiteral("?");
            binds << fieldvalue::toStorage(q->FieldAt(i)->DataType(), values.value(i));
        }
        const QString sql = cols.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoteName(table), cols.join(QLatin1String(", ")),
                       marks.join(QLatin1String(", ")));
        QSqlQuery query = Database::exec(db, sql, binds);
        return query.lastInsertId().toLongLong();
    }

    void updateRow(qint64 rowid, const QVector<QVariant> &oldValues,
                   const QVector<QVariant> &values) const
    {
        QStringList sets;
        QVariantList binds;
        for (int i = 0; i < fieldCol.size(); ++i) {
            if (fieldCol[i].isEmpty())
                continue;
            const QVariant now = values.value(i);
            const QVariant before = oldValues.value(i);
            if (isNull(now) == isNull(before) && (isNull(now) || now == before))
                continue;
            sets << quoted(fieldCol[i]) + QLatin1String(" = ?");
            binds << fieldvalue::toStorage(q->FieldAt(i)->DataType(), now);
        }
        if (sets.isEmpty())
            return;
        binds << rowid;
        QSqlQuery query = Database::exec(
            db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(quoteName(table), sets.join(QLatin1String(", "))), binds);
        if (query.numRowsAffected() == 0)
            throw DatabaseError(QStringLiteral("Record not found or changed by another user"));
    }

    void deleteRow(qint64 rowid) const
    {
        QSqlQuery query = Database::exec(
            db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteName(table)), {rowid});
        if (query.numRowsAffected() == 0)
            throw DatabaseError(QStringLiteral("Record not found or changed by another user"));
    }

    QVariantList bookmarkFor(const QVector<QVariant> &values, const QVariantList &previous,
                             qint64 rowid) const
    {
        QVariantList bookmark = keysFor(values, previous).mid(0, orderCols.size());
        bookmark << rowid;
        return bookmark;
    }
};

void TableCursor::MasterLink::recordChanged(Field *field)
{
    if (!field || splitNames(m_owner->p->masterFields)
                      .contains(field->FieldName(), Qt::CaseInsensitive))
        m_owner->masterChanged(false);
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
    p->link->setDataSource(master);
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
        for (int pos = 0; pos < p->cache->count(); ++pos) {
            const CachedRows::Row &row = p->cache->at(pos);
            bool equal = true;
            for (int i = 0; i < n && equal; ++i)
                equal = !isNull(keys[i]) ? fieldvalue::compareStored(row.keys[i], keys[i]) == 0
                                         : isNull(row.keys[i]);
            if (equal)
                return gotoRow(p->cachedRow(pos));
        }
        return false;
    }
    Sql s;
    p->addFilter(s);
    for (int i = 0; i < n; ++i)
        s.add(eqTerm(p->orderCols[i], keys[i], s.binds));
    return gotoRow(Private::first(p->run(s, true, 1)));
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
    const auto stored = Schema::storedColumns(p->db, p->table);
    if (stored.empty())
        throw DatabaseError(formatMessage(QStringLiteral("Table '%s' does not exist"),
                                          {p->table}));
    p->columnName.clear();
    p->columnType.clear();
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
            addDynamicField(c.name, p->typeOf(c.name), cd ? cd->size : 0);
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
    p->db = QSqlDatabase();
}

TableCursor::OptRow TableCursor::readFirst() const
{
    if (p->cached())
        return p->cachedAt(0);
    Sql s;
    p->addFilter(s);
    return Private::first(p->run(s, true, 1));
}

TableCursor::OptRow TableCursor::readLast() const
{
    if (p->cached())
        return p->cachedAt(p->cache->count() - 1);
    Sql s;
    p->addFilter(s);
    return Private::first(p->run(s, false, 1));
}

TableCursor::OptRow TableCursor::readNext(const Bookmark &from) const
{
    if (p->cached()) {
        const qint64 id = from.toLongLong();
        const int pos = p->cache->position(id);
        if (pos >= 0)
            return p->cachedAt(pos + 1);
        const CachedRows::Row *row = p->cache->find(id);
        return row ? p->cachedAt(p->cache->upperBound(*row, p->less())) : std::nullopt;
    }
    return Private::first(p->fetchFrom(from.toList(), true, 1));
}

TableCursor::OptRow TableCursor::readPrior(const Bookmark &from) const
{
    if (p->cached()) {
        const qint64 id = from.toLongLong();
        const int pos = p->cache->position(id);
        if (pos >= 0)
            return p->cachedAt(pos - 1);
        const CachedRows::Row *row = p->cache->find(id);
        return row ? p->cachedAt(p->cache->lowerBound(*row, p->less()) - 1) : std::nullopt;
    }
    return Private::first(p->fetchFrom(from.toList(), false, 1));
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
    Sql s;
    p->addFilter(s);
    s.binds << list.last();
    s.add(QStringLiteral("rowid = ?"));
    return Private::first(p->run(s, true, 1));
}

TableCursor::OptRow TableCursor::readLocate(const QList<Field *> &fields,
                                            const QVariantList &values) const
{
    for (Field *f : fields)
        if (f->Kind() != FieldKind::Data)
            throw DatabaseError(formatMessage(
                QStringLiteral("Field '%s' cannot be used in a search"), {f->FieldName()}));
    if (p->cached()) {
        for (int pos = 0; pos < p->cache->count(); ++pos) {
            const CachedRows::Row &row = p->cache->at(pos);
            bool equal = true;
            for (int i = 0; i < fields.size() && equal; ++i) {
                const FieldType t = fields[i]->DataType();
                equal = fieldvalue::compareStored(
                            fieldvalue::toStorage(t, row.values.value(fields[i]->Index())),
                            fieldvalue::toStorage(t, values[i])) == 0;
            }
            if (equal)
                return p->cachedRow(pos);
        }
        return std::nullopt;
    }
    Sql s;
    p->addFilter(s);
    for (int i = 0; i < fields.size(); ++i)
        s.add(eqTerm(p->fieldCol[fields[i]->Index()],
                     fieldvalue::toStorage(fields[i]->DataType(), values[i]), s.binds));
    return Private::first(p->run(s, true, 1));
}

Bookmark TableCursor::writeInsert(const QVector<QVariant> &values)
{
    if (p->cached()) {
        const qint64 id = p->cache->insert(values, p->keysFor(values, {}));
        p->cache->rebuildView(p->match(), p->less());
        return QVariant(id);
    }
    const qint64 rowid = p->insertRow(values);
    return p->bookmarkFor(values, {}, rowid);
}

Bookmark TableCursor::writeUpdate(const Bookmark &bookmark, const QVector<QVariant> &oldValues,
                                  const QVector<QVariant> &values)
{
    if (p->cached()) {
        const qint64 id = bookmark.toLongLong();
        const CachedRows::Row *row = p->cache->find(id);
        if (!row)
            throw DatabaseError(QStringLiteral("Record not found"));
        const QVariantList keys = p->keysFor(values, row->keys);
        const bool moved = keys != row->keys;
        p->cache->update(id, values, keys);
        if (moved) // a line whose keys stay keeps its place; no need to sort again
            p->cache->rebuildView(p->match(), p->less());
        return bookmark;
    }
    const QVariantList list = bookmark.toList();
    if (list.isEmpty())
        throw DatabaseError(QStringLiteral("Record not found"));
    const qint64 rowid = list.last().toLongLong();
    p->updateRow(rowid, oldValues, values);
    return p->bookmarkFor(values, list, rowid);
}

void TableCursor::writeDelete(const Bookmark &bookmark)
{
    if (p->cached()) {
        if (!p->cache->find(bookmark.toLongLong()))
            throw DatabaseError(QStringLiteral("Record not found"));
        p->cache->remove(bookmark.toLongLong());
        return;
    }
    const QVariantList list = bookmark.toList();
    if (list.isEmpty())
        throw DatabaseError(QStringLiteral("Record not found"));
    p->deleteRow(list.last().toLongLong());
}

void TableCursor::initNewRecord()
{
    if (!p->masterBound() || p->masterEmpty)
        return;
    for (int i = 0; i < p->detailCols.size(); ++i) {
        const int f = int(p->fieldCol.indexOf(p->detailCols[i]));
        if (f >= 0)
            d->buf[f] = fieldvalue::fromStorage(FieldAt(f)->DataType(), p->masterValues.value(i));
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
    {
        // Joins the caller's transaction when one is open (the header being saved), so
        // that an error anywhere leaves the file as it was.
        Transaction transaction(p->db);
        for (const CachedRows::Row *row : p->cache->pendingRows(CachedRows::Status::Deleted))
            p->deleteRow(row->rowid);
        for (const CachedRows::Row *row : p->cache->pendingRows(CachedRows::Status::Modified))
            p->updateRow(row->rowid, row->original, row->values);
        auto inserted = p->cache->pendingRows(CachedRows::Status::Inserted);
        std::sort(inserted.begin(), inserted.end(),
                  [](const CachedRows::Row *a, const CachedRows::Row *b) { return a->id > b->id; });
        for (const CachedRows::Row *row : inserted)
            p->insertRow(row->values);
        transaction.commit();
    }
    p->cache->clear();
    p->reloadCache();
}

void TableCursor::cancelPendingUpdates()
{
    if (!p->cached())
        return;
    p->cache->clear();
    p->reloadCache();
}

// ---- bookmarks and pages ------------------------------------------------------------------

int TableCursor::CompareBookmarks(const Bookmark &a, const Bookmark &b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (p->cached() && a.typeId() != QMetaType::QVariantList
        && b.typeId() != QMetaType::QVariantList) {
        const CachedRows::Row *ra = p->cache->find(a.toLongLong());
        const CachedRows::Row *rb = p->cache->find(b.toLongLong());
        if (!ra || !rb)
            return 0;
        const auto less = p->less();
        return less(*ra, *rb) ? -1 : (less(*rb, *ra) ? 1 : 0);
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
        int from = 0, to = 0; // [from, to)
        if (anchor.isNull()) {
            from = forward ? 0 : std::max(0, p->cache->count() - count);
            to = forward ? std::min(count, p->cache->count()) : p->cache->count();
        } else {
            const CachedRows::Row *row = p->cache->find(anchor.toLongLong());
            if (!row)
                return {};
            if (forward) {
                from = p->cache->upperBound(*row, p->less());
                to = std::min(from + count, p->cache->count());
            } else {
                to = p->cache->lowerBound(*row, p->less());
                from = std::max(0, to - count);
            }
        }
        for (int pos = from; pos < to; ++pos)
            rows << p->cachedRow(pos);
        return snapshots(rows);
    }
    std::vector<Private::Fetched> fetched;
    if (anchor.isNull()) {
        Sql s;
        p->addFilter(s);
        fetched = p->run(s, forward, count);
    } else {
        fetched = p->fetchFrom(anchor.toList(), forward, count);
    }
    if (!forward)
        std::reverse(fetched.begin(), fetched.end());
    for (const auto &f : fetched)
        rows << f.row;
    return snapshots(rows);
}

} // namespace tb
