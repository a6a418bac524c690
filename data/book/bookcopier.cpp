#include "data/book/bookcopier.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/book/pgdatabase.h"
#include "data/book/pguri.h"
#include "data/book/privatefiles.h"
#include "data/book/schema.h"
#include "data/book/sqlterms.h"
#include "data/book/statementcache.h"
#include "data/book/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <vector>

namespace tb {

namespace {

const QString SourceAlias = QStringLiteral("copy source");
const QString TargetAlias = QStringLiteral("copy target");
// Rows a statement carries; well below either engine's limit on bound values.
constexpr int BatchRows = 200;

// Aliases of the copy's own, handed back however the copy ends. The source is only read.
class CopyAliases
{
public:
    CopyAliases(const QString &from, const QString &to)
    {
        Database::setPath(SourceAlias, from);
        Database::openReadOnly(SourceAlias);
        Database::setPath(TargetAlias, to);
    }
    ~CopyAliases()
    {
        Database::setPath(SourceAlias, QString());
        Database::setPath(TargetAlias, QString());
    }
};

QString columnList(const QSqlDatabase &db, const TableDef &table)
{
    QStringList cols;
    for (const ColumnDef &c : table.columns)
        cols << quoteName(Schema::sqlName(db, c.name));
    return cols.join(QLatin1String(", "));
}

qint64 rowCount(const QSqlDatabase &db, const TableDef &table)
{
    QSqlQuery q = Database::exec(db, QStringLiteral("SELECT count(*) FROM %1")
                                         .arg(quoteName(Schema::sqlName(db, table.name))));
    return q.next() ? q.value(0).toLongLong() : 0;
}

// A value as the target stores it: dates as ISO text (a server hands out dates, SQLite
// text), everything else as it was read.
QVariant portable(const ColumnDef &column, const QVariant &value)
{
    if (sqlterms::isNull(value))
        return {};
    if (column.type == FieldType::DateTime) {
        const QVariant stored = fieldvalue::toStorage(
            FieldType::DateTime, fieldvalue::fromStorage(FieldType::DateTime, value, column.name));
        return stored;
    }
    return value;
}

void insertRows(const QSqlDatabase &db, const TableDef &table, const QVariantList &binds,
                int rows)
{
    QStringList marks(int(table.columns.size()), QStringLiteral("?"));
    const QString tuple = QLatin1Char('(') + marks.join(QLatin1String(", ")) + QLatin1Char(')');
    QStringList tuples(rows, tuple);
    StatementCache::run(db, QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                                .arg(quoteName(Schema::sqlName(db, table.name)),
                                     columnList(db, table), tuples.join(QLatin1String(", "))),
                        binds);
}

void copyTable(const QSqlDatabase &source, const QSqlDatabase &target, const TableDef &table,
               qint64 &done, qint64 total, const BookCopier::Progress &progress)
{
    QSqlQuery read(source);
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT %1 FROM %2")
                       .arg(columnList(source, table),
                            quoteName(Schema::sqlName(source, table.name)))))
        throw DatabaseError(Database::errorText(read.lastError(), source));
    QVariantList binds;
    int rows = 0;
    while (read.next()) {
        for (int c = 0; c < int(table.columns.size()); ++c)
            binds << portable(table.columns[size_t(c)], read.value(c));
        if (++rows == BatchRows) {
            insertRows(target, table, binds, rows);
            done += rows;
            if (progress)
                progress(done, total, table.name);
            binds.clear();
            rows = 0;
        }
    }
    if (read.lastError().isValid())
        throw DatabaseError(Database::errorText(read.lastError(), source));
    if (rows > 0)
        insertRows(target, table, binds, rows);
    done += rows;
    if (progress)
        progress(done, total, table.name);
}

// One view of the source for the whole copy, even while others keep saving into it; a
// reader only, so that their saves do not wait for the copy.
class ReadView
{
public:
    explicit ReadView(const QSqlDatabase &db) : m_db(db)
    {
        Database::exec(m_db, PgDatabase::isPostgres(m_db)
                                 ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                                 : QStringLiteral("BEGIN"));
    }
    ~ReadView()
    {
        try {
            Database::exec(m_db, QStringLiteral("COMMIT"));
        } catch (...) {
            // A view that cannot be closed ends with its connection.
        }
    }
    ReadView(const ReadView &) = delete;
    ReadView &operator=(const ReadView &) = delete;

private:
    QSqlDatabase m_db;
};

void checkTargetEmpty(const QSqlDatabase &target, const QString &to)
{
    for (const TableDef &table : Schema::tables())
        if (rowCount(target, table) > 0)
            throw DatabaseError(QStringLiteral("目的資料庫 %1 不是空的 (%2 已有資料),"
                                               "只能複製到空的資料庫。")
                                    .arg(PgUri::masked(to), table.name));
}

QString shownFile(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// What stands in the way of a target file, before anything is made there: a copy never
// makes folders (a mistyped path would scatter them) and never writes into a file that is
// no book, an empty one included.
void checkTargetFile(const QString &to)
{
    const QFileInfo file(to);
    if (file.exists() && !file.isFile())
        throw DatabaseError(QStringLiteral("目的 %1 不是檔案。").arg(shownFile(to)));
    if (file.isFile() && file.size() == 0)
        throw DatabaseError(QStringLiteral("目的檔案 %1 是空的檔案,不是資料庫。\n"
                                           "請刪除它,或指定一個還不存在的檔案。")
                                .arg(shownFile(to)));
    if (!QFileInfo(file.absolutePath()).isDir())
        throw DatabaseError(QStringLiteral("目的資料夾 %1 不存在。\n"
                                           "請先建立資料夾,或指定其他路徑。")
                                .arg(QDir::toNativeSeparators(file.absolutePath())));
}

} // namespace

qint64 BookCopier::copy(const QString &from, const QString &to, const Progress &progress)
{
    if (!PgUri::isUri(from) && !QFileInfo::exists(from))
        throw DatabaseError(QStringLiteral("來源資料庫檔案 %1 不存在。").arg(shownFile(from)));
    const bool targetIsFile = !PgUri::isUri(to);
    if (targetIsFile)
        checkTargetFile(to);
    const bool newFile = targetIsFile && !QFileInfo::exists(to);
    try {
        return copyBook(from, to, progress);
    } catch (...) {
        // A failed copy takes back the file it made, companions and all: "nothing was
        // written" then holds for the target's place as well.
        if (newFile)
            PrivateFiles::removeBook(to);
        throw;
    }
}

qint64 BookCopier::copyBook(const QString &from, const QString &to, const Progress &progress)
{
    CopyAliases aliases(from, to);
    const QSqlDatabase source = Database::connection(SourceAlias);
    const QSqlDatabase target = Database::connection(TargetAlias);
    ReadView reading(source);
    Transaction writing(target);
    checkTargetEmpty(target, to);
    std::vector<qint64> counts;
    qint64 total = 0;
    for (const TableDef &table : Schema::tables()) {
        counts.push_back(rowCount(source, table));
        total += counts.back();
    }
    qint64 done = 0;
    size_t i = 0;
    for (const TableDef &table : Schema::tables()) {
        try {
            copyTable(source, target, table, done, total, progress);
        } catch (const DatabaseError &error) {
            throw DatabaseError(QStringLiteral("複製資料表 %1 時失敗: %2")
                                    .arg(table.name, error.message()));
        }
        const qint64 copied = rowCount(target, table);
        if (copied != counts[i])
            throw DatabaseError(QStringLiteral("資料表 %1 的筆數不符: 來源 %2 筆,複製後 %3 筆。")
                                    .arg(table.name).arg(counts[i]).arg(copied));
        ++i;
    }
    writing.commit();
    // A server plans by its statistics of the tables: a book just copied has none yet.
    if (PgDatabase::isPostgres(target))
        Database::exec(target, QStringLiteral("ANALYZE"));
    return total;
}

} // namespace tb
