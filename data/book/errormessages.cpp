#include "data/book/errormessages.h"

#include "data/book/errors.h"
#include "data/book/pgdatabase.h"
#include "data/book/pguri.h"
#include "data/book/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QRegularExpression>

namespace tb {

namespace {

using Trouble = EngineTrouble;

// The layer's detail where the driver gives none: it closed a broken connection silently.
const QString NoConnectionText = QStringLiteral("no connection to the server");

// A server reports SQLSTATEs: five characters, matched as text (some are all digits, and
// must not be read as an SQLite code).
Trouble sqlStateTroubleOf(const QString &native)
{
    if (native == QLatin1String("55P03") || native == QLatin1String("40P01"))
        return Trouble::Locked;
    if (native == QLatin1String("53100"))
        return Trouble::Full;
    if (native == QLatin1String("25006"))
        return Trouble::ReadOnly;
    if (native == QLatin1String("XX001") || native == QLatin1String("XX002"))
        return Trouble::Damaged;
    if (native == QLatin1String("53300"))
        return Trouble::Crowded;
    return Trouble::None;
}

// What the client library says when the connection broke without a word from the server.
bool saysConnectionBroke(const QString &text)
{
    static const QLatin1String phrases[] = {
        QLatin1String("server closed the connection"),
        QLatin1String("no connection to the server"),
        QLatin1String("could not receive data from server"),
        QLatin1String("could not send data to server"),
        QLatin1String("terminating connection"),
        QLatin1String("SSL connection has been closed")};
    for (const QLatin1String &phrase : phrases)
        if (text.contains(phrase))
            return true;
    return false;
}

// A server's troubles; a connection that broke may come with no code at all.
Trouble serverTroubleOf(const QString &native, const QString &text)
{
    if (native.startsWith(QLatin1String("08")) || native.startsWith(QLatin1String("57P"))
        || (native.isEmpty() && saysConnectionBroke(text)))
        return Trouble::ConnectionLost;
    return sqlStateTroubleOf(native);
}

// The trouble behind a file's error: the engine's code, or an SQLSTATE.
Trouble fileTroubleOf(const QString &native)
{
    const Trouble trouble = sqliteTroubleOf(native);
    return trouble != Trouble::None ? trouble : sqlStateTroubleOf(native);
}

// A full disk reaches the engine as whatever failed first: a journal file it could not make
// or size, a write it could not finish. The disk's own free space tells which it was.
bool hasNoRoom(const QString &databaseFile)
{
    if (databaseFile.isEmpty() || PgUri::isUri(databaseFile))
        return false;
    constexpr qint64 TooLittle = 256 * 1024; // less than a journal's first pages need
    const QStorageInfo disk(QFileInfo(databaseFile).absolutePath());
    return disk.isValid() && disk.isReady() && disk.bytesAvailable() < TooLittle;
}

// The sentence first, the engine's own text below it as the detail.
QString withSentence(const QString &sentence, const QString &text)
{
    return sentence.isEmpty() ? text : sentence + QLatin1Char('\n') + text;
}

QString serverSentence(Trouble trouble, const QString &place)
{
    switch (trouble) {
    case Trouble::Locked:
        return QStringLiteral("%1 的這筆資料正由另一部電腦寫入,請稍候再試一次。").arg(place);
    case Trouble::Full:
        return QStringLiteral("%1 所在伺服器的磁碟空間已滿,請通知管理者清出空間後再試一次。")
            .arg(place);
    case Trouble::ReadOnly:
        return QStringLiteral("%1 目前只能讀取,無法寫入,請通知管理者。").arg(place);
    case Trouble::Damaged:
        return QStringLiteral("%1 已損壞,請通知管理者從備份還原。").arg(place);
    case Trouble::ConnectionLost:
        return QStringLiteral("與%1 的連線中斷,請確認伺服器正在執行、網路暢通後再試一次。")
            .arg(place);
    case Trouble::Crowded:
        return QStringLiteral("%1 的連線數已滿,請關閉其他電腦上不用的程式後再試一次。").arg(place);
    default:
        break;
    }
    return {};
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
    case Trouble::ConnectionLost:
    case Trouble::Crowded:
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

// The layer's own texts for refusals both engines report alike; empty for anything else.
QString layerMessage(const QSqlError &error, const QString &text)
{
    if (isKeyViolation(error))
        return KeyViolationMessage;
    const QString native = error.nativeErrorCode();
    // SQLite: 1299 NOT NULL constraint; PostgreSQL: 23502 not-null violation.
    if (native == QLatin1String("1299") || native == QLatin1String("23502")) {
        const QString field = Schema::canonicalColumnName(nullColumnOf(text));
        if (!field.isEmpty())
            return QStringLiteral("Field '%1' must have a value").arg(field);
    }
    return {};
}

QString textOf(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// A server's report as the user reads it: its message and its detail, without the
// "ERROR:" before it, the position in the statement, or the SQLSTATE the driver appends.
QString serverText(const QString &text)
{
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s+"));
    static const QRegularExpression state(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)\\s*$"));
    QString t = text;
    t.remove(state);
    QStringList kept;
    const QStringList lines = t.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i].trimmed();
        if (i == 0)
            kept << line.remove(severity);
        else if (line.startsWith(QLatin1String("DETAIL:")))
            kept << line;
    }
    return kept.join(QLatin1Char('\n'));
}

// The driver closes a connection it finds broken, and what is tried on it later fails
// without a word.
bool closedSilently(const QSqlError &error, const QSqlDatabase &db)
{
    return !db.isOpen() && textOf(error).trimmed().isEmpty();
}

} // namespace

// SQLite reports extended result codes; the primary code is their low byte.
EngineTrouble sqliteTroubleOf(const QString &engineCode)
{
    bool numeric = false;
    const int code = engineCode.toInt(&numeric);
    if (!numeric || code <= 0 || code >= 100000)
        return Trouble::None;
    switch (code & 0xFF) {
    case 5: case 6: return Trouble::Locked;        // SQLITE_BUSY, SQLITE_LOCKED
    case 8: return Trouble::ReadOnly;               // SQLITE_READONLY
    case 10: return Trouble::DiskError;             // SQLITE_IOERR
    case 11: return Trouble::Damaged;               // SQLITE_CORRUPT
    case 13: return Trouble::Full;                  // SQLITE_FULL
    case 14: return Trouble::CannotOpen;            // SQLITE_CANTOPEN
    case 26: return Trouble::NotADatabase;          // SQLITE_NOTADB
    default: return Trouble::None;
    }
}

QString userMessage(const QSqlError &error, const QSqlDatabase &db)
{
    if (!PgDatabase::isPostgres(db))
        return userMessage(error, db.isValid() ? db.databaseName() : QString());
    QString text = serverText(textOf(error));
    const QString own = layerMessage(error, text);
    if (!own.isEmpty())
        return own;
    Trouble trouble = serverTroubleOf(error.nativeErrorCode(), text);
    if (closedSilently(error, db)) {
        trouble = Trouble::ConnectionLost;
        text = NoConnectionText;
    }
    if (trouble == Trouble::None)
        return text;
    return withSentence(serverSentence(trouble, PgDatabase::placeOf(db)), text);
}

QString missingPartsMessage(const QString &databaseFile, const QString &detail)
{
    return withSentence(QStringLiteral("資料庫檔案 %1 缺少本系統需要的資料表或欄位,"
                                       "它可能是其他程式的檔案或不完整的資料庫。"
                                       "請確認資料庫檔案的路徑,或從備份還原。")
                            .arg(QDir::toNativeSeparators(databaseFile)),
                        detail);
}

QString missingPartsMessage(const QSqlDatabase &db, const QString &detail)
{
    if (!PgDatabase::isPostgres(db))
        return missingPartsMessage(db.databaseName(), detail);
    return withSentence(QStringLiteral("%1 缺少本系統需要的資料表或欄位,"
                                       "它可能是其他程式的資料庫。"
                                       "請確認連線的資料庫,或通知管理者。")
                            .arg(PgDatabase::placeOf(db)),
                        detail);
}

QString lostConnectionMessage(const QSqlDatabase &db)
{
    return withSentence(serverSentence(Trouble::ConnectionLost, PgDatabase::placeOf(db)),
                        NoConnectionText);
}

bool isConnectionLost(const QSqlError &error, const QSqlDatabase &db)
{
    return PgDatabase::isPostgres(db)
           && (closedSilently(error, db)
               || serverTroubleOf(error.nativeErrorCode(), serverText(textOf(error)))
                      == Trouble::ConnectionLost);
}

QString userMessage(const QSqlError &error, const QString &databaseFile)
{
    const QString text = textOf(error);
    const QString own = layerMessage(error, text);
    if (!own.isEmpty())
        return own;
    Trouble trouble = fileTroubleOf(error.nativeErrorCode());
    if ((trouble == Trouble::DiskError || trouble == Trouble::CannotOpen)
        && hasNoRoom(databaseFile))
        trouble = Trouble::Full;
    if (trouble == Trouble::None)
        return text;
    const QString file = databaseFile.isEmpty() ? QStringLiteral("(未知)")
                                                : QDir::toNativeSeparators(databaseFile);
    return withSentence(sentence(trouble, file), text);
}

} // namespace tb
