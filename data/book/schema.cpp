#include "data/book/schema.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pgdatabase.h"
#include "data/book/sqlterms.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace tb {

namespace {

using T = FieldType;

ColumnDef text(const char *name, int size) { return {QString::fromLatin1(name), T::String, size}; }
ColumnDef integer(const char *name) { return {QString::fromLatin1(name), T::Integer, 0}; }
ColumnDef date(const char *name) { return {QString::fromLatin1(name), T::DateTime, 0}; }
ColumnDef memo(const char *name) { return {QString::fromLatin1(name), T::Memo, 0}; }

IndexDef index(const char *name, QStringList columns)
{
    return {QString::fromLatin1(name), std::move(columns)};
}

// An index on a column that the query screens search: the key after it, so that the
// matching rows come out in key order and a result is read a page at a time by its key
// without sorting every match first.
IndexDef searched(const char *column, const char *key)
{
    return index(column, {QString::fromLatin1(column), QString::fromLatin1(key)});
}

// Customers and suppliers share every column but the first three.
TableDef partnerTable(const char *table, const char *id, const char *attribName,
                      const char *name)
{
    return {QString::fromLatin1(table),
            {text(id, 8), text(attribName, 10), text(name, 60), text("EarNo", 8),
             text("JoinMan", 10), text("E-mail", 30), text("Tel", 20), text("CellPhone", 20),
             text("Fax", 20), text("CompanyAddress", 60), text("DeliveryAddress", 60),
             date("LastDeliveryDate")},
            {QString::fromLatin1(id)},
            {searched(name, id), searched("EarNo", id), searched("LastDeliveryDate", id)}};
}

TableDef codeTable(const char *table, const char *id, const char *name, bool withMemo)
{
    TableDef def{QString::fromLatin1(table), {text(id, 8), text(name, 20)},
                 {QString::fromLatin1(id)}, {searched(name, id)}};
    if (withMemo)
        def.columns.push_back(memo("Memo"));
    return def;
}

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> t;
    t.push_back({"Product",
                 {text("ProductID", 8), text("ProductName", 60), text("TypeName", 20),
                  text("UnitName", 20), text("ColorName", 20), integer("Stock"),
                  integer("SafeStock"), integer("PriceA"), integer("PriceB"), integer("PriceC"),
                  date("LastPurchaseDate"), date("LastDeliveryDate")},
                 {"ProductID"},
                 {searched("ProductName", "ProductID"), searched("TypeName", "ProductID"),
                  searched("LastPurchaseDate", "ProductID"),
                  searched("LastDeliveryDate", "ProductID")}});
    t.push_back(partnerTable("Customer", "CustomerID", "CustomerAttribName", "CustomerName"));
    t.push_back(partnerTable("Supplier", "SupplierID", "SupplierAttribName", "SupplierName"));
    t.push_back({"Employee",
                 {text("EmployeeID", 8), text("EmployeeName", 10), text("ID", 10),
                  date("Birthday"), text("Sex", 2), text("Blood", 2), text("Marriage", 4),
                  text("JoinMan", 10), text("Address", 50), text("E-mail", 30), text("Tel", 20),
                  text("DepartmentName", 20), text("BirthPlace", 10), text("Antecedent", 30),
                  memo("Career"), text("DutyName", 20), date("ArriveDate"), date("LeaveDate")},
                 {"EmployeeID"},
                 {searched("ID", "EmployeeID"), searched("DepartmentName", "EmployeeID")}});
    t.push_back(codeTable("Unit", "UnitID", "UnitName", true));
    t.push_back(codeTable("ProductType", "TypeID", "TypeName", false));
    t.push_back(codeTable("Color", "ColorID", "ColorName", false));
    t.push_back(codeTable("Department", "DepartmentID", "DepartmentName", false));
    t.push_back(codeTable("Duty", "DutyID", "DutyName", true));
    t.push_back({"QuoteMaster",
                 {text("QuoteID", 10), date("QuoteDate"), text("CustomerID", 8),
                  text("EmployeeID", 8), date("AvailableDate"), memo("Memo"),
                  integer("SubTotal"), integer("ValueAddTax"), integer("Amount")},
                 {"QuoteID"},
                 {}});
    t.push_back({"QuoteDetail",
                 {text("QuoteID", 10), text("SEQ", 4), text("QdetailID", 10),
                  text("ProductID", 8), text("ProductName", 60), integer("Quantity"),
                  text("Unit", 4), integer("Price"), integer("Amount"), memo("Memo")},
                 {"QuoteID", "SEQ"},
                 {index("DetailID", {"QdetailID"}), index("ProductID", {"ProductID"}),
                  index("QuoteID", {"QuoteID"}), index("QuoteSeq", {"QuoteID", "SEQ"}),
                  index("QuoteItem", {"QuoteID", "QdetailID"})}});
    t.push_back({"OrderMaster",
                 {text("OrderID", 10), date("OrderDate"), text("CustomerID", 8),
                  text("EmployeeID", 8), text("DeliveryAddress", 60), text("Source", 10),
                  memo("Memo"), date("AdvanceDate"), integer("SubTotal"),
                  integer("ValueAddTax"), integer("Amount")},
                 {"OrderID"},
                 {}});
    t.push_back({"OrderDetail",
                 {text("OrderID", 10), text("OdetailID", 10), text("ProductID", 8),
                  text("ProductName", 60), integer("Quantity"), integer("NonPayQuantity"),
                  text("Unit", 4), integer("Price"), integer("Amount"), text("Source", 10),
                  memo("Memo")},
                 {"OrderID", "OdetailID"},
                 {index("OrderID", {"OrderID"})}});
    t.push_back({"DeliveryMaster",
                 {text("DeliveryID", 10), date("DeliveryDate"), text("CustomerID", 8),
                  text("EmployeeID", 8), text("DeliveryAddres", 60), integer("SubTotal"),
                  integer("ValueAddTax"), integer("Amount")},
                 {"DeliveryID"},
                 {index("DeliveryID", {"DeliveryID"})}});
    t.push_back({"DeliveryDetail",
                 {text("DeliveryID", 10), text("DdetailID", 10), text("ProductID", 8),
                  text("ProductName", 60), text("Unit", 4), integer("Quantity"),
                  integer("SalesPrice"), integer("Amount"), memo("Memo")},
                 {"DeliveryID", "DdetailID"},
                 {index("DeliveryID", {"DeliveryID"})}});
    t.push_back({"DeliveryReturnMaster",
                 {text("DeliveryReturnID", 10), date("DeliveryReturnDate"),
                  text("CustomerID", 8), text("EmployeeID", 8), date("ScotFreeDate"),
                  integer("SubTotal"), integer("ValueAddTax"), integer("Amount")},
                 {"DeliveryReturnID"},
                 {index("DeliveryReturnID", {"DeliveryReturnID"})}});
    t.push_back({"DeliveryReturnDetail",
                 {text("DeliveryReturnID", 10), text("DRdetailID", 10), text("ProductID", 8),
                  text("ProductName", 60), integer("Quantity"), text("Unit", 4),
                  integer("Price"), integer("Amount"), text("Source", 10), memo("Memo")},
                 {"DeliveryReturnID", "DRdetailID"},
                 {index("DeliveryReturnID", {"DeliveryReturnID"})}});
    return t;
}

QString columnSql(const TableDef &table, const ColumnDef &column, bool postgres)
{
    QString sql = quoteName(Schema::sqlName(column.name, postgres)) + QLatin1Char(' ')
                  + Schema::sqlType(column.type);
    if (column.type == FieldType::String)
        sql += QStringLiteral("(%1)").arg(column.size);
    // Text orders by its UTF-8 bytes on both engines, whatever the server's locale, so that
    // rows held in memory sort as the database sorts them.
    if (postgres && (column.type == FieldType::String || column.type == FieldType::Memo))
        sql += QLatin1String(" COLLATE \"C\"");
    // SQLite lets a key that is not an INTEGER PRIMARY KEY hold NULL.
    if (table.primaryKey.contains(column.name))
        sql += QLatin1String(" NOT NULL");
    return sql;
}

QString createTableSql(const TableDef &table, bool postgres)
{
    QStringList parts;
    for (const ColumnDef &c : table.columns)
        parts << columnSql(table, c, postgres);
    if (!table.primaryKey.isEmpty()) {
        QStringList keys;
        for (const QString &k : table.primaryKey)
            keys << quoteName(Schema::sqlName(k, postgres));
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QLatin1String(", ")));
    }
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(quoteName(Schema::sqlName(table.name, postgres)), parts.join(QLatin1String(", ")));
}

QString createIndexSql(const TableDef &table, const IndexDef &index, bool postgres)
{
    QStringList cols;
    for (const QString &c : index.columns)
        cols << sqlterms::orderTerm(Schema::sqlName(c, postgres), true,
                                    !table.primaryKey.contains(c), postgres);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(quoteName(Schema::sqlName(Schema::sqlIndexName(table, index), postgres)),
             quoteName(Schema::sqlName(table.name, postgres)), cols.join(QLatin1String(", ")));
}

} // namespace

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("String");
    case FieldType::Integer: return QStringLiteral("Integer");
    case FieldType::DateTime: return QStringLiteral("DateTime");
    case FieldType::Memo: return QStringLiteral("Memo");
    }
    return {};
}

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const std::vector<TableDef> &Schema::tables()
{
    static const std::vector<TableDef> all = buildTables();
    return all;
}

const TableDef *Schema::table(const QString &name)
{
    for (const TableDef &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString Schema::sqlIndexName(const TableDef &table, const IndexDef &index)
{
    // Index names are global in SQL; the named indexes are per table.
    return table.name + QLatin1Char('_') + index.name;
}

void Schema::create(const QSqlDatabase &db)
{
    const bool postgres = PgDatabase::isPostgres(db);
    for (const TableDef &table : tables()) {
        Database::exec(db, createTableSql(table, postgres));
        for (const IndexDef &index : table.indexes) {
            if (index.columns == table.primaryKey)
                continue; // the primary key already orders by it
            Database::exec(db, createIndexSql(table, index, postgres));
        }
    }
    forgetStoredColumns();
}

QString Schema::sqlName(const QString &name, bool postgres)
{
    return postgres ? name.toLower() : name;
}

QString Schema::sqlName(const QSqlDatabase &db, const QString &name)
{
    return sqlName(name, PgDatabase::isPostgres(db));
}

void Schema::verify(const QSqlDatabase &db)
{
    const bool postgres = PgDatabase::isPostgres(db);
    for (const TableDef &table : tables()) {
        const std::vector<StoredColumn> stored = storedColumns(db, table.name);
        if (stored.empty())
            throw MissingPartError(formatMessage(QStringLiteral("Table '%s' does not exist"),
                                                 {table.name}));
        // A server has no row id to tell the rows of a table without a key apart.
        const bool keyed = std::any_of(stored.begin(), stored.end(),
                                       [](const auto &s) { return s.keyPosition > 0; });
        if (postgres && !keyed)
            throw DatabaseError(formatMessage(QStringLiteral("Table '%s' has no primary key"),
                                              {table.name}));
        for (const ColumnDef &column : table.columns) {
            const bool found = std::any_of(stored.begin(), stored.end(), [&](const auto &s) {
                return s.name.compare(column.name, Qt::CaseInsensitive) == 0;
            });
            if (!found)
                throw MissingPartError(formatMessage(QStringLiteral("Field '%s' not found"),
                                                     {column.name}));
        }
    }
}

QString Schema::sqlType(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("VARCHAR");
    case FieldType::Integer: return QStringLiteral("INTEGER");
    case FieldType::DateTime: return QStringLiteral("DATE");
    case FieldType::Memo: return QStringLiteral("TEXT");
    }
    return {};
}

namespace {

// Tables already read, per connection and table: the application never alters a schema,
// so a screen that reopens its table need not ask the database again.
QHash<QString, Schema::StoredTable> &storedTableCache()
{
    static QHash<QString, Schema::StoredTable> cache;
    return cache;
}

QString cacheKey(const QSqlDatabase &db, const QString &table)
{
    return db.connectionName() + QLatin1Char('\n') + db.databaseName() + QLatin1Char('\n')
           + table.toLower();
}

Schema::StoredTable readSqliteTable(const QSqlDatabase &db, const QString &table)
{
    Schema::StoredTable result;
    QSqlQuery q = Database::exec(db, QStringLiteral("PRAGMA table_info(%1)")
                                         .arg(quoteName(table)));
    while (q.next())
        result.columns.push_back(
            {q.value(1).toString(), q.value(2).toString(), q.value(5).toInt()});
    if (!result.columns.empty())
        result.name = table; // SQLite finds a table by its name in any case
    return result;
}

// Every table of the server's current schema in one statement (asking per table would cost
// a round trip each when the book opens): columns in order, with their place in the key.
void readServerTables(const QSqlDatabase &db)
{
    QSqlQuery q = Database::exec(db, QStringLiteral(
        "SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod), "
        "coalesce(array_position(i.indkey::int2[], a.attnum) "
        "- array_lower(i.indkey::int2[], 1) + 1, 0) "
        "FROM pg_catalog.pg_class c "
        "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
        "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid "
        "LEFT JOIN pg_catalog.pg_index i ON i.indrelid = c.oid AND i.indisprimary "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p') "
        "AND a.attnum > 0 AND NOT a.attisdropped "
        "ORDER BY c.relname, a.attnum"));
    QHash<QString, Schema::StoredTable> tables;
    while (q.next()) {
        Schema::StoredTable &table = tables[q.value(0).toString()];
        table.name = q.value(0).toString();
        table.columns.push_back(
            {q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()});
    }
    for (auto it = tables.cbegin(); it != tables.cend(); ++it)
        storedTableCache().insert(cacheKey(db, it.key()), it.value());
}

} // namespace

Schema::StoredTable Schema::storedTable(const QSqlDatabase &db, const QString &table)
{
    const QString key = cacheKey(db, table);
    auto it = storedTableCache().constFind(key);
    if (it != storedTableCache().constEnd())
        return *it;
    if (PgDatabase::isPostgres(db)) {
        // A missing table is asked again: it may yet be created.
        readServerTables(db);
        return storedTableCache().value(key);
    }
    StoredTable stored = readSqliteTable(db, table);
    if (!stored.columns.empty())
        storedTableCache().insert(key, stored);
    return stored;
}

std::vector<Schema::StoredColumn> Schema::storedColumns(const QSqlDatabase &db,
                                                         const QString &table)
{
    return storedTable(db, table).columns;
}

void Schema::forgetStoredColumns()
{
    storedTableCache().clear();
}

QString Schema::canonicalColumnName(const QString &name)
{
    for (const TableDef &table : tables())
        if (const ColumnDef *column = table.column(name))
            return column->name;
    return name;
}

bool Schema::fieldTypeOf(const QString &declaredType, FieldType *type)
{
    const QString t = declaredType.trimmed().toUpper();
    auto is = [&](std::initializer_list<const char *> names) {
        for (const char *n : names)
            if (t == QLatin1String(n) || t.startsWith(QLatin1String(n) + QLatin1Char('(')))
                return true;
        return false;
    };
    if (is({"VARCHAR", "CHAR", "CHARACTER VARYING", "CHARACTER", "NVARCHAR"}))
        *type = FieldType::String;
    else if (is({"INTEGER", "INT", "INT4", "SMALLINT"}))
        *type = FieldType::Integer;
    else if (is({"DATE", "DATETIME", "TIMESTAMP", "TIMESTAMP WITHOUT TIME ZONE"}))
        *type = FieldType::DateTime;
    else if (is({"TEXT", "MEMO", "CLOB"}))
        *type = FieldType::Memo;
    else
        return false;
    return true;
}

QString quoteName(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace tb
