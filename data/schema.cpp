#include "data/schema.h"

#include "data/database.h"
#include "data/errors.h"

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
                 {},
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
                 {},
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
                 {},
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
                 {},
                 {index("DeliveryReturnID", {"DeliveryReturnID"})}});
    return t;
}

QString columnSql(const TableDef &table, const ColumnDef &column)
{
    QString sql = quoteName(column.name) + QLatin1Char(' ') + Schema::sqlType(column.type);
    if (column.type == FieldType::String)
        sql += QStringLiteral("(%1)").arg(column.size);
    // SQLite lets a key that is not an INTEGER PRIMARY KEY hold NULL.
    if (table.primaryKey.contains(column.name))
        sql += QLatin1String(" NOT NULL");
    return sql;
}

QString createTableSql(const TableDef &table)
{
    QStringList parts;
    for (const ColumnDef &c : table.columns)
        parts << columnSql(table, c);
    if (!table.primaryKey.isEmpty()) {
        QStringList keys;
        for (const QString &k : table.primaryKey)
            keys << quoteName(k);
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QLatin1String(", ")));
    }
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(quoteName(table.name), parts.join(QLatin1String(", ")));
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
    for (const TableDef &table : tables()) {
        Database::exec(db, createTableSql(table));
        for (const IndexDef &index : table.indexes) {
            if (index.columns == table.primaryKey)
                continue; // the primary key already orders by it
            QStringList cols;
            for (const QString &c : index.columns)
                cols << quoteName(c);
            Database::exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                   .arg(quoteName(sqlIndexName(table, index)),
                                        quoteName(table.name), cols.join(QLatin1String(", "))));
        }
    }
}

void Schema::verify(const QSqlDatabase &db)
{
    for (const TableDef &table : tables()) {
        const std::vector<StoredColumn> stored = storedColumns(db, table.name);
        if (stored.empty())
            throw DatabaseError(formatMessage(QStringLiteral("Table '%s' does not exist"),
                                              {table.name}));
        for (const ColumnDef &column : table.columns) {
            const bool found = std::any_of(stored.begin(), stored.end(), [&](const auto &s) {
                return s.name.compare(column.name, Qt::CaseInsensitive) == 0;
            });
            if (!found)
                throw DatabaseError(formatMessage(QStringLiteral("Field '%s' not found"),
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

// Column lists already read, per connection and table: the application never alters a
// schema, so a screen that reopens its table need not ask the file again.
QHash<QString, std::vector<Schema::StoredColumn>> &storedColumnCache()
{
    static QHash<QString, std::vector<Schema::StoredColumn>> cache;
    return cache;
}

std::vector<Schema::StoredColumn> readStoredColumns(const QSqlDatabase &db,
                                                    const QString &table)
{
    std::vector<Schema::StoredColumn> result;
    if (db.driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery q = Database::exec(db, QStringLiteral("PRAGMA table_info(%1)")
                                             .arg(quoteName(table)));
        while (q.next())
            result.push_back(
                {q.value(1).toString(), q.value(2).toString(), q.value(5).toInt()});
        return result;
    }
    QSqlQuery q = Database::exec(
        db,
        QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                       "WHERE lower(table_name) = lower(?) ORDER BY ordinal_position"),
        {table});
    while (q.next())
        result.push_back({q.value(0).toString(), q.value(1).toString(), 0});
    return result;
}

} // namespace

std::vector<Schema::StoredColumn> Schema::storedColumns(const QSqlDatabase &db,
                                                         const QString &table)
{
    const QString key = db.connectionName() + QLatin1Char('\n') + db.databaseName()
                        + QLatin1Char('\n') + table.toLower();
    auto it = storedColumnCache().constFind(key);
    if (it != storedColumnCache().constEnd())
        return *it;
    std::vector<StoredColumn> columns = readStoredColumns(db, table);
    if (!columns.empty()) // a missing table is asked again: it may yet be created
        storedColumnCache().insert(key, columns);
    return columns;
}

void Schema::forgetStoredColumns()
{
    storedColumnCache().clear();
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
