#include "data/book/bookrestore.h"

#include "data/book/backupfolder.h"
#include "data/book/bookbackup.h"
#include "data/book/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tb {

namespace {

const QString LogSuffix = QStringLiteral("-wal");
const QString SharedMemorySuffix = QStringLiteral("-shm");
constexpr QFile::Permissions Private = QFile::ReadOwner | QFile::WriteOwner;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The file staged beside the book, checked, before it takes the book's place: a rename in
// one folder is atomic, a copy from another disk is not.
QString stagedName(const QString &book)
{
    const QFileInfo info(book);
    return info.absoluteDir().filePath(QLatin1Char('.') + info.fileName()
                                       + QStringLiteral(".restoring"));
}

// A book that can still be read is set aside as a checked copy, its log's saves included;
// one that cannot (the reason to restore, often) as its files are.
void setAside(const QString &book, const QString &aside)
{
    try {
        BookBackup::write(book, aside);
        return;
    } catch (const DatabaseError &) {
        QFile::remove(aside);
    }
    for (const QString &suffix : {QString(), LogSuffix}) {
        if (!QFileInfo::exists(book + suffix))
            continue;
        if (!QFile::copy(book + suffix, aside + suffix)) {
            QFile::remove(aside);
            QFile::remove(aside + LogSuffix);
            throw DatabaseError(QStringLiteral("無法把目前的資料庫 %1 保留到 %2,所以沒有還原;"
                                               "請確認備份資料夾可以寫入,而且磁碟還有空間。")
                                    .arg(shown(book), shown(aside)));
        }
        QFile::setPermissions(aside + suffix, Private);
    }
}

bool replace(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData())
           == 0;
}

} // namespace

QString BookRestore::restore(const QString &file, const QString &book, const QDateTime &now)
{
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(book).absoluteFilePath())
        throw DatabaseError(QStringLiteral("檔案 %1 就是目前的資料庫,不需要還原。")
                                .arg(shown(file)));
    BookBackup::check(file);
    if (BookBackup::inUse(book))
        throw DatabaseError(QStringLiteral("資料庫 %1 正由另一個程式開啟,所以沒有還原;"
                                           "請先關閉所有開啟它的程式 (其他電腦也一樣),再還原一次。")
                                .arg(shown(book)));
    const QString staged = stagedName(book);
    QFile::remove(staged);
    BookBackup::write(file, staged);
    QString aside;
    if (QFileInfo::exists(book)) {
        const BackupFolder folder(book);
        try {
            folder.create();
            aside = folder.asidePath(now);
            setAside(book, aside);
        } catch (const DatabaseError &) {
            QFile::remove(staged);
            throw;
        }
    }
    // The old log belongs to the old file: left beside the new one, it would be replayed
    // into it. (The book was set aside with its log's saves.)
    QFile::remove(book + LogSuffix);
    QFile::remove(book + SharedMemorySuffix);
    if (!replace(staged, book)) {
        QFile::remove(staged);
        throw DatabaseError(QStringLiteral("無法把還原的資料庫放到 %1,請確認資料夾可以寫入;"
                                           "原來的資料庫保留在 %2。")
                                .arg(shown(book), shown(aside)));
    }
    return aside;
}

} // namespace tb
