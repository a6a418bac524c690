#include "data/book/bookbackup.h"

#include "data/book/errors.h"
#include "data/book/ownconnection.h"
#include "data/book/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace tb {

namespace {

const QString TemporarySuffix = QStringLiteral(".partial");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// What the integrity check finds wrong, empty when nothing.
QString integrityFaults(OwnConnection &connection)
{
    QSqlQuery query = connection.run(QStringLiteral("PRAGMA integrity_check(3)"));
    QStringList faults;
    while (query.next()) {
        const QString line = query.value(0).toString();
        if (line != QLatin1String("ok"))
            faults << line;
    }
    return faults.join(QLatin1Char('\n'));
}

// The first table or column of the book that the file lacks, as the layer words it; empty
// when all are there. Read here rather than through Schema::verify, whose cache belongs to
// the user's thread.
QString missingPart(OwnConnection &connection)
{
    for (const TableDef &table : Schema::tables()) {
        QSqlQuery query = connection.run(QStringLiteral("PRAGMA table_info(%1)")
                                             .arg(quoteName(table.name)));
        QStringList columns;
        while (query.next())
            columns << query.value(1).toString().toLower();
        if (columns.isEmpty())
            return QStringLiteral("Table '%1' does not exist").arg(table.name);
        for (const ColumnDef &column : table.columns) {
            if (!columns.contains(column.name.toLower()))
                return QStringLiteral("Field '%1' not found").arg(column.name);
        }
    }
    return {};
}

QString notABookSentence(const QString &file)
{
    return QStringLiteral("檔案 %1 不是完整的本系統資料庫 (空的、其他程式的檔案或已損壞),"
                          "不能使用;請改用另一份備份。")
        .arg(shown(file));
}

void removeQuietly(const QString &file)
{
    QFile::remove(file);
}

} // namespace

void BookBackup::check(const QString &file)
{
    const QFileInfo info(file);
    if (!info.isFile())
        throw DatabaseError(QStringLiteral("找不到檔案 %1,請確認路徑。").arg(shown(file)));
    if (info.size() == 0)
        throw DatabaseError(notABookSentence(file) + QStringLiteral("\nThe file is empty."));
    QString fault;
    try {
        OwnConnection connection(file, OwnConnection::Mode::ReadOnly);
        fault = integrityFaults(connection);
        if (fault.isEmpty())
            fault = missingPart(connection);
    } catch (const DatabaseError &error) {
        throw DatabaseError(notABookSentence(file) + QLatin1Char('\n') + error.message(),
                            error.engineCode());
    }
    if (!fault.isEmpty())
        throw DatabaseError(notABookSentence(file) + QLatin1Char('\n') + fault);
}

void BookBackup::write(const QString &book, const QString &target)
{
    const QString folder = shown(QFileInfo(target).absolutePath());
    if (QFileInfo::exists(target))
        throw DatabaseError(QStringLiteral("檔案 %1 已經存在,備份不會覆蓋它;請指定新的檔名。")
                                .arg(shown(target)));
    const QString partial = temporaryName(target);
    removeQuietly(partial);
    try {
        OwnConnection connection(book, OwnConnection::Mode::ReadOnly);
        // One read transaction: the copy is the book as of one moment, whatever is saved
        // meanwhile, and a writer is never waited for (the book keeps its log meanwhile).
        // The copy reads each page once: a small page cache keeps the process small.
        connection.run(QStringLiteral("PRAGMA cache_size = -256"));
        connection.run(QStringLiteral("VACUUM INTO ?"), {partial});
    } catch (const DatabaseError &error) {
        removeQuietly(partial);
        throw DatabaseError(QStringLiteral("無法把資料庫 %1 備份到資料夾 %2,請確認資料夾存在、"
                                           "可以寫入,而且磁碟還有空間。")
                                    .arg(shown(book), folder)
                                + QLatin1Char('\n') + error.message(),
                            error.engineCode());
    }
    try {
        check(partial);
    } catch (const DatabaseError &error) {
        removeQuietly(partial);
        throw DatabaseError(QStringLiteral("資料夾 %1 裡剛寫好的備份沒有通過檢查,已經刪除;"
                                           "請檢查磁碟,或在設定裡改用另一個備份資料夾。")
                                    .arg(folder)
                                + QLatin1Char('\n') + error.message());
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(partial, target)) {
        removeQuietly(partial);
        throw DatabaseError(QStringLiteral("無法在資料夾 %1 裡把備份命名為 %2,請確認資料夾可以寫入。")
                                .arg(folder, QFileInfo(target).fileName()));
    }
}

BookBackup::RowCounts BookBackup::rowCounts(const QString &file)
{
    OwnConnection connection(file, OwnConnection::Mode::ReadOnly);
    const auto count = [&connection](const char *table) {
        QSqlQuery query = connection.run(QStringLiteral("SELECT count(*) FROM %1")
                                             .arg(quoteName(QString::fromLatin1(table))));
        return query.next() ? query.value(0).toLongLong() : 0;
    };
    return {count("Product"), count("Customer"), count("QuoteMaster")};
}

bool BookBackup::inUse(const QString &book)
{
    if (!QFileInfo::exists(book))
        return false;
    // In exclusive locking mode, the first read takes the file for this connection alone;
    // any other connection that has the book open holds a lock that refuses it at once.
    OwnConnection connection(book, OwnConnection::Mode::NoWait);
    try {
        connection.run(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
        connection.run(QStringLiteral("SELECT count(*) FROM sqlite_master")).next();
    } catch (const DatabaseError &error) {
        const int code = error.engineCode().toInt() & 0xFF;
        return code == 5 || code == 6; // SQLITE_BUSY, SQLITE_LOCKED
    }
    return false;
}

QString BookBackup::temporaryName(const QString &target)
{
    const QFileInfo info(target);
    return info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + TemporarySuffix);
}

bool BookBackup::isTemporary(const QString &fileName)
{
    return fileName.startsWith(QLatin1Char('.')) && fileName.endsWith(TemporarySuffix);
}

} // namespace tb
