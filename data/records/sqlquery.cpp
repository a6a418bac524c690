#include "data/records/sqlquery.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/records/keyedpager.h"
#include "data/book/pgdatabase.h"
#include "data/book/schema.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <optional>

namespace tb {

struct SqlQuery::Private
{
    QString alias = QString::fromLatin1(Database::DefaultAlias);
    SqlText sql;
    QVariantList params;
    // The statement stays open and is read forward as rows are needed; rows read are kept.
    std::optional<QSqlQuery> query;
    bool atEnd = true;
    QVector<QVector<QVariant>> rows;
    QVector<int> column; // per field index: result column, -1 for derived fields
    QString uniqueKey;
    KeyedPager pager;

    // A page read as a row set: values by field index, the key as bookmark.
    QVector<QVariant> fieldValues(const SqlQuery &q, const QVector<QVariant> &result) const
    {
        QVector<QVariant> values(q.FieldCount());
        for (int i = 0; i < q.FieldCount(); ++i)
            if (column[i] >= 0)
                values[i] = fieldvalue::fromStorage(q.FieldAt(i)->DataType(),
                                                    result.value(column[i]),
                                                    q.FieldAt(i)->FieldName());
        return values;
    }
};

SqlQuery::SqlQuery(QObject *parent) : DataSet(parent), p(std::make_unique<Private>()) {}

SqlQuery::~SqlQuery() = default;

void SqlQuery::setDatabaseName(const QString &alias)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    p->alias = alias;
}

QString SqlQuery::DatabaseName() const
{
    return p->alias;
}

SqlText &SqlQuery::SQL()
{
    return p->sql;
}

void SqlQuery::setParams(const QVariantList &values)
{
    p->params = values;
}

void SqlQuery::setUniqueKey(const QString &resultColumn)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    p->uniqueKey = resultColumn;
}

QString SqlQuery::UniqueKey() const
{
    return p->uniqueKey;
}

QStringList SqlQuery::QueryPlans() const
{
    if (!Active())
        return {};
    if (paged())
        return p->pager.plans();
    const QSqlDatabase db = connection();
    return {QLatin1String("all: ") + KeyedPager::plan(db, statement(db), boundParams(db))};
}

qint64 SqlQuery::ResultCount() const
{
    if (!Active())
        return 0;
    const QSqlDatabase db = connection();
    QSqlQuery count = Database::exec(
        db, QLatin1String("SELECT count(*) FROM (") + statement(db)
                + QLatin1String("\n) tb_count"),
        boundParams(db));
    return count.next() ? count.value(0).toLongLong() : 0;
}

QVariantList SqlQuery::boundParams(const QSqlDatabase &db) const
{
    // SQLite compares dates as the text they are stored as; a server takes a date.
    if (PgDatabase::isPostgres(db))
        return p->params;
    QVariantList binds;
    for (const QVariant &v : p->params)
        binds << (v.typeId() == QMetaType::QDate ? QVariant(v.toDate().toString(Qt::ISODate))
                                                 : v);
    return binds;
}

QString SqlQuery::statement(const QSqlDatabase &db) const
{
    if (!PgDatabase::isPostgres(db))
        return p->sql.Text();
    return PgDatabase::withTextParameters(p->sql.Text(), p->params);
}

bool SqlQuery::paged() const
{
    return !p->uniqueKey.isEmpty();
}

QSqlDatabase SqlQuery::connection() const
{
    return Database::connection(p->alias);
}

void SqlQuery::openCursor()
{
    const QSqlDatabase db = connection();
    const QVariantList binds = boundParams(db);
    p->rows.clear();
    QSqlRecord record;
    if (paged()) {
        p->pager.setStatement(db, statement(db), binds, p->uniqueKey);
        record = p->pager.record();
        p->atEnd = true;
    } else {
        p->query.emplace(Database::exec(db, statement(db), binds));
        p->atEnd = false;
        record = p->query->record();
    }
    try {
        createFields(record);
        mapFields(record);
        // A server connection runs one statement at a time: a result left half read would
        // be thrown away by the next statement on the connection, so it is read whole now.
        if (!paged() && PgDatabase::isPostgres(db))
            fetchTo(std::numeric_limits<int>::max() - 1);
    } catch (...) {
        closeCursor();
        throw;
    }
}

// No declared fields: one per result column, in order, named as the result names them.
void SqlQuery::createFields(const QSqlRecord &record)
{
    for (int i = 0; i < FieldCount(); ++i)
        if (FieldAt(i)->Kind() == FieldKind::Data)
            return;
    for (int c = 0; c < record.count(); ++c) {
        const QSqlField f = record.field(c);
        const int type = f.metaType().id();
        const bool integer = type == QMetaType::Int || type == QMetaType::LongLong
            || type == QMetaType::UInt || type == QMetaType::ULongLong;
        // A server reports unquoted names in lower case: the schema's spelling is kept.
        addDynamicField(Schema::canonicalColumnName(f.name()),
                        integer ? FieldType::Integer : FieldType::String, 0);
    }
}

void SqlQuery::mapFields(const QSqlRecord &record)
{
    p->column = QVector<int>(FieldCount(), -1);
    for (int i = 0; i < FieldCount(); ++i) {
        Field *f = FieldAt(i);
        if (f->Kind() != FieldKind::Data)
            continue;
        int c = record.indexOf(f->FieldName());
        for (int k = 0; k < record.count() && c < 0; ++k)
            if (record.fieldName(k).compare(f->FieldName(), Qt::CaseInsensitive) == 0)
                c = k;
        if (c < 0)
            throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"),
                                              {f->FieldName()}));
        p->column[i] = c;
    }
}

void SqlQuery::closeCursor()
{
    p->query.reset();
    p->pager.clear();
    p->rows.clear();
    p->atEnd = true;
}

void SqlQuery::refreshCursor()
{
    closeCursor();
    openCursor();
}

bool SqlQuery::fetchTo(int row) const
{
    while (p->rows.size() <= row && !p->atEnd && p->query) {
        if (!p->query->next()) {
            p->atEnd = true;
            const QSqlError error = p->query->lastError();
            p->query.reset();
            if (error.isValid())
                throw DatabaseError(Database::errorText(error, connection()));
            break;
        }
        QVector<QVariant> values(FieldCount());
        for (int i = 0; i < FieldCount(); ++i)
            if (p->column[i] >= 0)
                values[i] = fieldvalue::fromStorage(FieldAt(i)->DataType(),
                                                    p->query->value(p->column[i]),
                                                    FieldAt(i)->FieldName());
        p->rows.push_back(std::move(values));
    }
    return row >= 0 && row < p->rows.size();
}

SqlQuery::OptRow SqlQuery::rowAt(int row) const
{
    if (row < 0 || !fetchTo(row))
        return std::nullopt;
    return RowData{QVariant(row), p->rows[row]};
}

// In paged mode a bookmark is the row's key, wrapped so that even a null key names a row.
namespace {

QVariant keyOf(const Bookmark &bookmark)
{
    return bookmark.toList().value(0);
}

} // namespace

SqlQuery::OptRow SqlQuery::pagedRow(const std::vector<KeyedPager::Row> &rows) const
{
    if (rows.empty())
        return std::nullopt;
    return RowData{QVariant(QVariantList{rows.front().key}),
                   p->fieldValues(*this, rows.front().values)};
}

SqlQuery::OptRow SqlQuery::readFirst() const
{
    return paged() ? pagedRow(p->pager.fromEnd(true, 1)) : rowAt(0);
}

SqlQuery::OptRow SqlQuery::readLast() const
{
    if (paged())
        return pagedRow(p->pager.fromEnd(false, 1));
    fetchTo(std::numeric_limits<int>::max() - 1);
    return rowAt(int(p->rows.size()) - 1);
}

SqlQuery::OptRow SqlQuery::readNext(const Bookmark &from) const
{
    if (paged())
        return pagedRow(p->pager.from(keyOf(from), true, 1));
    return rowAt(from.toInt() + 1);
}

SqlQuery::OptRow SqlQuery::readPrior(const Bookmark &from) const
{
    if (paged())
        return pagedRow(p->pager.from(keyOf(from), false, 1));
    return rowAt(from.toInt() - 1);
}

SqlQuery::OptRow SqlQuery::readRow(const Bookmark &bookmark) const
{
    if (bookmark.isNull())
        return std::nullopt;
    if (paged())
        return pagedRow(p->pager.equal({p->pager.keyColumn()}, {keyOf(bookmark)}));
    return rowAt(bookmark.toInt());
}

SqlQuery::OptRow SqlQuery::readLocate(const QList<Field *> &fields,
                                      const QVariantList &values) const
{
    if (paged()) {
        const QSqlRecord &record = p->pager.record();
        QStringList columns;
        QVariantList stored;
        for (int i = 0; i < fields.size(); ++i) {
            const int c = p->column.value(fields[i]->Index(), -1);
            if (c < 0)
                throw DatabaseError(formatMessage(
                    QStringLiteral("Field '%s' cannot be used in a search"),
                    {fields[i]->FieldName()}));
            columns << record.fieldName(c);
            stored << fieldvalue::toStorage(fields[i]->DataType(), values[i]);
        }
        return pagedRow(p->pager.equal(columns, stored));
    }
    for (int row = 0; fetchTo(row); ++row) {
        bool equal = true;
        for (int i = 0; i < fields.size() && equal; ++i) {
            const FieldType t = fields[i]->DataType();
            equal = fieldvalue::compareStored(
                        fieldvalue::toStorage(t, p->rows[row].value(fields[i]->Index())),
                        fieldvalue::toStorage(t, values[i])) == 0;
        }
        if (equal)
            return rowAt(row);
    }
    return std::nullopt;
}

int SqlQuery::CompareBookmarks(const Bookmark &a, const Bookmark &b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (paged())
        return fieldvalue::compareStored(keyOf(a), keyOf(b));
    const int x = a.toInt(), y = b.toInt();
    return x < y ? -1 : (x > y ? 1 : 0);
}

QVector<RowSnapshot> SqlQuery::ReadRows(const Bookmark &anchor, int count, bool forward) const
{
    if (!Active() || count <= 0)
        return {};
    if (paged())
        return readPage(anchor, count, forward);
    int from = 0, to = 0; // [from, to)
    if (anchor.isNull()) {
        if (forward) {
            fetchTo(count - 1);
            to = std::min(count, int(p->rows.size()));
        } else {
            fetchTo(std::numeric_limits<int>::max() - 1);
            to = int(p->rows.size());
            from = std::max(0, to - count);
        }
    } else if (forward) {
        from = anchor.toInt() + 1;
        fetchTo(from + count - 1);
        to = std::min(from + count, int(p->rows.size()));
    } else {
        to = std::min(anchor.toInt(), int(p->rows.size()));
        from = std::max(0, to - count);
    }
    QVector<RowData> rows;
    for (int r = from; r < to; ++r)
        rows << RowData{QVariant(r), p->rows[r]};
    return snapshots(rows);
}

QVector<RowSnapshot> SqlQuery::readPage(const Bookmark &anchor, int count, bool forward) const
{
    std::vector<KeyedPager::Row> page = anchor.isNull()
        ? p->pager.fromEnd(forward, count) : p->pager.from(keyOf(anchor), forward, count);
    if (!forward)
        std::reverse(page.begin(), page.end());
    QVector<RowData> rows;
    for (const KeyedPager::Row &row : page)
        rows << RowData{QVariant(QVariantList{row.key}), p->fieldValues(*this, row.values)};
    return snapshots(rows);
}

ConnectionQuery::ConnectionQuery(QObject *parent) : SqlQuery(parent) {}

void ConnectionQuery::setConnectionString(const QString &connectionString)
{
    if (Active())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    m_connectionString = connectionString;
}

QString ConnectionQuery::ConnectionString() const
{
    return m_connectionString;
}

QSqlDatabase ConnectionQuery::connection() const
{
    return Database::connectionFor(m_connectionString);
}

} // namespace tb
