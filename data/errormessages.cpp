#include "data/errormessages.h"

#include "data/errors.h"

#include <QDir>
#include <QRegularExpression>

namespace tb {

namespace {

enum class Trouble { None, Locked, Full, ReadOnly, DiskError, Damaged, NotADatabase, CannotOpen };

// SQLite reports extended result codes; the primary code is their low byte. PostgreSQL
// reports SQLSTATEs.
Trouble troubleOf(const QString &native)
{
    bool numeric = false;
    const int code = native.toInt(&numeric);
    if (numeric && code > 0 && code < 100000) {
        switch (code & 0xFF) {
        case 5: case 6: return Trouble::Locked;        // SQLITE_BUSY, SQLITE_LOCKED
        case 8: return Trouble::ReadOnly;               // SQLITE_READONLY
        case 10: return Trouble::DiskError;             // SQLITE_IOERR
        case 11: return Trouble::Damaged;               // SQLITE_CORRUPT
        case 13: return Trouble::Full;                  // SQLITE_FULL
        case 14: return Trouble::CannotOpen;            // SQLITE_CANTOPEN
        case 26: return Trouble::NotADatabase;          // SQLITE_NOTADB
        default: break;
        }
    }
    if (native == QLatin1String("55P03") || native == QLatin1String("40P01"))
        return Trouble::Locked;
    if (native == QLatin1String("53100"))
        return Trouble::Full;
    if (native == QLatin1String("25006"))
        return Trouble::ReadOnly;
    if (native == QLatin1String("XX001") || native == QLatin1String("XX002"))
        return Trouble::Damaged;
    return Trouble::None;
}

QString sentence(Trouble trouble, const QString &file)
{
    switch (trouble) {
    case Trouble::Locked:
        return QStringLiteral("資料庫檔案 %1 正由另一個程式寫入,請稍候再試一次。").arg(file);
    case Trouble::Full:
        return QStringLiteral("磁碟空間已滿,無法寫入資料庫檔案 %1,請清出磁碟空間後再試一次。")
            .arg(file);
    case Trouble::ReadOnly:
        return QStringLiteral("資料庫檔案 %1 目前無法寫入,請確認檔案與所在資料夾可以寫入後再試一次。")
            .arg(file);
    case Trouble::DiskError:
        return QStringLiteral("讀寫資料庫檔案 %1 時發生磁碟錯誤,請檢查磁碟後再試一次。").arg(file);
    case Trouble::Damaged:
        return QStringLiteral("資料庫檔案 %1 已損壞,請從備份還原。").arg(file);
    case Trouble::NotADatabase:
        return QStringLiteral("檔案 %1 不是本系統的資料庫,請確認資料庫檔案的路徑。").arg(file);
    case Trouble::CannotOpen:
        return QStringLiteral("無法開啟資料庫檔案 %1,請確認檔案存在且可以讀寫。").arg(file);
    case Trouble::None:
        break;
    }
    return {};
}

bool isKeyViolation(const QSqlError &error)
{
    const QString native = error.nativeErrorCode();
    // SQLite: 1555 primary key, 2067 unique; PostgreSQL: 23505 unique violation.
    return native == QLatin1String("1555") || native == QLatin1String("2067")
           || native == QLatin1String("23505")
           || error.databaseText().contains(QLatin1String("UNIQUE constraint failed"));
}

// The column a NOT NULL refusal names: SQLite says "NOT NULL constraint failed:
// Table.Column", PostgreSQL 'null value in column "Column" ...'.
QString nullColumnOf(const QString &text)
{
    static const QRegularExpression sqlite(QStringLiteral("constraint failed: [^.]+\\.(.+)$"));
    static const QRegularExpression postgres(QStringLiteral("column \"([^\"]+)\""));
    for (const QRegularExpression *pattern : {&sqlite, &postgres}) {
        const QRegularExpressionMatch match = pattern->match(text);
        if (match.hasMatch())
            return match.captured(1).trimmed();
    }
    return {};
}

} // namespace

QString userMessage(const QSqlError &error, const QString &databaseFile)
{
    if (isKeyViolation(error))
        return KeyViolationMessage;
    const QString native = error.nativeErrorCode();
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    // SQLite: 1299 NOT NULL constraint; PostgreSQL: 23502 not-null violation.
    if (native == QLatin1String("1299") || native == QLatin1String("23502")) {
        const QString field = nullColumnOf(text);
        if (!field.isEmpty())
            return QStringLiteral("Field '%1' must have a value").arg(field);
    }
    const Trouble trouble = troubleOf(native);
    if (trouble == Trouble::None)
        return text;
    const QString file = databaseFile.isEmpty() ? QStringLiteral("(未知)")
                                                : QDir::toNativeSeparators(databaseFile);
    return sentence(trouble, file) + QLatin1Char('\n') + text;
}

} // namespace tb
