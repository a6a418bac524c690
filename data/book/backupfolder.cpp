#include "data/book/backupfolder.h"

#include "data/book/bookbackup.h"
#include "data/book/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace tb {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
constexpr qint64 Megabyte = 1024 * 1024;
constexpr qint64 DefaultBudgetFactor = 20;
// A copy still unfinished after this long was stopped (the application was ended).
constexpr qint64 UnfinishedAfterSeconds = 3600;

QSettings settings()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
}

QString folderFor(const QString &book)
{
    const QFileInfo info(book);
    const QString configured = settings().value(QStringLiteral("backup/folder")).toString();
    if (configured.trimmed().isEmpty())
        return info.absoluteDir().filePath(QStringLiteral("backups"));
    return QDir::cleanPath(info.absoluteDir().filePath(configured.trimmed()));
}

qint64 fileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

} // namespace

BackupFolder::BackupFolder(const QString &book)
    : m_book(QFileInfo(book).absoluteFilePath()), m_path(folderFor(book))
{
}

std::vector<BackupCopy> BackupFolder::copies() const
{
    const QString base = QFileInfo(m_book).completeBaseName();
    const QRegularExpression name(QStringLiteral("^%1-(\\d{8}-\\d{6})\\.db$")
                                      .arg(QRegularExpression::escape(base)));
    std::vector<BackupCopy> found;
    const QFileInfoList files = QDir(m_path).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch())
            continue;
        const QDateTime time = QDateTime::fromString(match.captured(1), TimeFormat);
        if (time.isValid())
            found.push_back({file.absoluteFilePath(), time, file.size()});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const BackupCopy &a, const BackupCopy &b) { return a.time < b.time; });
    return found;
}

QString BackupFolder::copyPath(const QDateTime &time) const
{
    return QDir(m_path).filePath(QStringLiteral("%1-%2.db").arg(
        QFileInfo(m_book).completeBaseName(), time.toLocalTime().toString(TimeFormat)));
}

QString BackupFolder::asidePath(const QDateTime &time) const
{
    return QDir(m_path).filePath(QStringLiteral("%1-before-restore-%2.db").arg(
        QFileInfo(m_book).completeBaseName(), time.toLocalTime().toString(TimeFormat)));
}

qint64 BackupFolder::budgetBytes() const
{
    bool set = false;
    const qint64 megabytes =
        settings().value(QStringLiteral("backup/maxMegabytes")).toLongLong(&set);
    if (set && megabytes > 0)
        return megabytes * Megabyte;
    const qint64 book = fileSize(m_book) + fileSize(m_book + QStringLiteral("-wal"));
    return DefaultBudgetFactor * book;
}

void BackupFolder::create() const
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(m_path); !QFileInfo::exists(folder);) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString &folder : std::as_const(missing)) {
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            throw DatabaseError(QStringLiteral("無法建立備份資料夾 %1,請確認磁碟已接上、"
                                               "上層資料夾可以寫入,或在設定裡改用另一個資料夾。")
                                    .arg(QDir::toNativeSeparators(m_path))
                                + QStringLiteral("\nCannot create the folder %1.")
                                      .arg(QDir::toNativeSeparators(folder)));
    }
}

BackupCopy BackupFolder::take(const QDateTime &now) const
{
    create();
    const QString target = copyPath(now);
    BookBackup::write(m_book, target);
    prune(now);
    return {target, now, fileSize(target)};
}

void BackupFolder::prune(const QDateTime &now) const
{
    for (const BackupCopy &copy : BackupRetention::expired(copies(), now, budgetBytes()))
        QFile::remove(copy.path);
    // The files' own times are the file system's: compared with the system clock.
    const QDateTime systemNow = QDateTime::currentDateTime();
    const QFileInfoList files =
        QDir(m_path).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &file : files) {
        if (BookBackup::isTemporary(file.fileName())
            && file.lastModified().secsTo(systemNow) > UnfinishedAfterSeconds)
            QFile::remove(file.absoluteFilePath());
    }
}

} // namespace tb
