#include "data/book/bookcheck.h"

#include "data/book/errormessages.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <dlfcn.h>

namespace tb {

namespace {

// How many of the engine's findings the message quotes: enough to show the damage is real.
constexpr int ReportedFindings = 5;

QString uniqueConnectionName()
{
    static QAtomicInt serial;
    return QStringLiteral("tradebook-check:%1").arg(serial.fetchAndAddRelaxed(1));
}

bool reportsDamage(const QSqlError &error)
{
    const EngineTrouble trouble = sqliteTroubleOf(error.nativeErrorCode());
    return trouble == EngineTrouble::Damaged || trouble == EngineTrouble::NotADatabase;
}

QString damagedMessage(const QString &path, const QString &report)
{
    return QStringLiteral("資料庫檔案 %1 已損壞,部分資料可能已經遺失或讀錯。"
                          "請結束程式,從備份還原一份完好的複本後再繼續使用。\n%2")
        .arg(QDir::toNativeSeparators(path), report);
}

// The engine's own way to stop a statement from another thread (sqlite3_interrupt): Qt's
// driver has none, so it is taken from the engine's library, which the driver has loaded.
using InterruptFunction = void (*)(void *);

InterruptFunction engineInterrupt()
{
    static const InterruptFunction function = [] {
        void *library = dlopen("libsqlite3.so.0", RTLD_LAZY | RTLD_NOLOAD);
        return library ? reinterpret_cast<InterruptFunction>(dlsym(library, "sqlite3_interrupt"))
                       : nullptr;
    }();
    return function;
}

} // namespace

BookCheck::Result BookCheck::check(QSqlDatabase &db, const QString &path)
{
    // Read-only, and through a URI so that the file is never made when it is missing. A book
    // that a connection holds open (its write-ahead log beside it) is read through that log;
    // any other file is read as it lies, so that the check makes no journal files beside it
    // (a read-only connection could not remove them again, and would give a book that cannot
    // be written companions with its read-only mode).
    const QFileInfo file(path);
    const bool inUse = QFileInfo::exists(path + QStringLiteral("-wal")) && file.isWritable()
                       && QFileInfo(file.absolutePath()).isWritable();
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    url.setQuery(inUse ? QStringLiteral("mode=ro") : QStringLiteral("immutable=1"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;"
                                        "QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return {Outcome::NotChecked, userMessage(db.lastError(), path)};
    if (!startChecking(db))
        return {Outcome::NotChecked, QStringLiteral("interrupted")};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QStringList findings;
    if (query.exec(QStringLiteral("PRAGMA quick_check(%1)").arg(ReportedFindings))) {
        while (query.next())
            findings << query.value(0).toString();
    }
    stopChecking();
    // The check may stop on a page it cannot read at all: damage too. Anything else (a busy
    // file) says nothing about the book.
    if (const QSqlError error = query.lastError(); error.isValid()) {
        if (!reportsDamage(error))
            return {Outcome::NotChecked, userMessage(error, path)};
        findings << error.databaseText();
    }
    if (findings == QStringList{QStringLiteral("ok")})
        return {Outcome::Sound, {}};
    return {Outcome::Damaged, damagedMessage(path, findings.join(QLatin1Char('\n')))};
}

bool BookCheck::startChecking(const QSqlDatabase &db)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    if (m_interrupted)
        return false;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_engine = *static_cast<void *const *>(handle.constData());
    return true;
}

void BookCheck::stopChecking()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_engine = nullptr;
}

void BookCheck::interrupt()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_interrupted = true;
    if (m_engine && engineInterrupt())
        engineInterrupt()(m_engine);
}

BookCheck::Result BookCheck::run(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {Outcome::NotChecked, QStringLiteral("No such file: %1").arg(path)};
    const QString name = uniqueConnectionName();
    Result result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        result = check(db, path);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace tb
