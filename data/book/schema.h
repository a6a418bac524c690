#pragma once

#include "data/book/errors.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

namespace tb {

enum class FieldType { String, Integer, DateTime, Memo };

// Name of a field type as the record-set layer's messages spell it
// ("String", "Integer", "DateTime", "Memo").
QString fieldTypeName(FieldType type);

struct ColumnDef
{
    QString name;
    FieldType type;
    int size = 0; // bytes of Big5 for String, 0 otherwise
};

struct IndexDef
{
    QString name;
    QStringList columns;
};

struct TableDef
{
    QString name;
    std::vector<ColumnDef> columns;
    QStringList primaryKey;
    std::vector<IndexDef> indexes;

    const ColumnDef *column(const QString &name) const; // case-insensitive; nullptr if none
};

// A table or column of the book that a database lacks (Schema::verify).
class MissingPartError : public DatabaseError
{
public:
    using DatabaseError::DatabaseError;
};

// The seventeen tables of the book.
class Schema
{
public:
    static const std::vector<TableDef> &tables();
    static const TableDef *table(const QString &name); // case-insensitive; nullptr if none

    // Creates every table and index (CREATE ... IF NOT EXISTS); used for a new book only.
    // On a server the names are in lower case (so that SQL written without quotes finds
    // them), text sorts by its bytes, and the indexes keep NULL first as SQLite does.
    static void create(const QSqlDatabase &db);
    // Reads (never writes) that every table and column is there; throws MissingPartError
    // "Table '%s' does not exist" or "Field '%s' not found" for the first one missing, and
    // on a server
    // "Table '%s' has no primary key" (rows there are told apart by their key alone).
    static void verify(const QSqlDatabase &db);

    // Name of a table's named index in the database (index names are global in SQL).
    static QString sqlIndexName(const TableDef &table, const IndexDef &index);
    // The name a table, column or index is created under: lower case on a server.
    static QString sqlName(const QString &name, bool postgres);
    static QString sqlName(const QSqlDatabase &db, const QString &name);
    // The spelling the schema gives a column name read back in another case (a server
    // reports names in lower case); the name itself when no table has such a column.
    static QString canonicalColumnName(const QString &name);

    // SQL column type used for a field type; the check on open maps back through it.
    static QString sqlType(FieldType type);
    // Reads the declared column types of a table as stored in the file.
    // Empty when the table does not exist.
    struct StoredColumn
    {
        QString name;
        QString declaredType;
        int keyPosition = 0; // 1-based place in the primary key, 0 when not part of it
    };
    struct StoredTable
    {
        QString name; // as stored; empty when the table does not exist
        std::vector<StoredColumn> columns;
    };
    // Remembered per connection and table until forgetStoredColumns() (the database
    // registry calls it whenever an alias is re-pointed or closed).
    static StoredTable storedTable(const QSqlDatabase &db, const QString &table);
    static std::vector<StoredColumn> storedColumns(const QSqlDatabase &db, const QString &table);
    static void forgetStoredColumns();
    // Field type a stored declared type stands for; false when none matches.
    static bool fieldTypeOf(const QString &declaredType, FieldType *type);
};

// Quotes an identifier for SQL ("E-mail" needs it); portable between SQLite and PostgreSQL.
QString quoteName(const QString &identifier);

} // namespace tb
