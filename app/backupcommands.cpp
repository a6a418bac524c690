#include "app/backupcommands.h"

#include "data/book/backupfolder.h"
#include "data/book/bookbackup.h"
#include "data/book/bookcopier.h"
#include "data/book/bookrestore.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tb {

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int Usage = 2;

void say(FILE *to, QString text)
{
    // A script reads one line: a message's detail goes on the same line.
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    std::fprintf(to, "%s\n", text.toLocal8Bit().constData());
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

// The application's SQLite book, or why a command cannot work on it.
QString sqliteBook(QString *error)
{
    const QString book = Database::path();
    if (PgUri::isUri(book)) {
        *error = QStringLiteral("資料庫在伺服器上,沒有自動備份可以列出或還原;請用伺服器的 "
                                "pg_dump 備份,或用 tradebook --backup 檔案 取得一份檔案備份。");
        return {};
    }
    if (!QFileInfo(book).isFile()) {
        *error = QStringLiteral("找不到資料庫檔案 %1,請確認資料庫的路徑。").arg(shown(book));
        return {};
    }
    return book;
}

// A server book copied whole into a file, checked before it takes the file's name.
void backUpServerBook(const QString &uri, const QString &file)
{
    const QString partial = BookBackup::temporaryName(file);
    QFile::remove(partial);
    try {
        BookCopier::copy(uri, partial);
        BookBackup::check(partial);
    } catch (const DatabaseError &) {
        QFile::remove(partial);
        throw;
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(partial, file)) {
        QFile::remove(partial);
        throw DatabaseError(QStringLiteral("無法把備份命名為 %1,請確認資料夾可以寫入。")
                                .arg(shown(file)));
    }
}

int backUp(const QString &file)
{
    const QString book = Database::path();
    if (QFileInfo::exists(file)) {
        say(stderr, QStringLiteral("檔案 %1 已經存在,備份不會覆蓋它;請指定新的檔名。")
                        .arg(shown(file)));
        return Failed;
    }
    if (PgUri::isUri(book)) {
        backUpServerBook(book, file);
        say(stdout, QStringLiteral("已把%1 備份到 %2 (%3),備份已檢查無誤。")
                        .arg(PgUri::parse(book).displayName(), shown(file),
                             megabytes(QFileInfo(file).size())));
        return Done;
    }
    QString error;
    if (sqliteBook(&error).isEmpty()) {
        say(stderr, error);
        return Failed;
    }
    BookBackup::write(book, file);
    say(stdout, QStringLiteral("已把資料庫 %1 備份到 %2 (%3),備份已檢查無誤。")
                    .arg(shown(book), shown(file), megabytes(QFileInfo(file).size())));
    return Done;
}

int restoreBook(const QString &file)
{
    QString error;
    const QString book = sqliteBook(&error);
    if (book.isEmpty() && PgUri::isUri(Database::path())) {
        say(stderr, error);
        return Failed;
    }
    const QString target = book.isEmpty() ? Database::path() : book;
    const QString aside = BookRestore::restore(file, target, QDateTime::currentDateTime());
    say(stdout, aside.isEmpty()
                    ? QStringLiteral("已用 %1 還原資料庫 %2。").arg(shown(file), shown(target))
                    : QStringLiteral("已用 %1 還原資料庫 %2;原來的資料庫保留在 %3。")
                          .arg(shown(file), shown(target), shown(aside)));
    return Done;
}

QString describe(const BackupCopy &copy)
{
    const QString head = QStringLiteral("%1  %2")
                             .arg(copy.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                             .arg(megabytes(copy.size), 10);
    try {
        const BookBackup::RowCounts rows = BookBackup::rowCounts(copy.path);
        return QStringLiteral("%1  產品 %2  客戶 %3  報價單 %4  %5")
            .arg(head).arg(rows.products).arg(rows.customers).arg(rows.quotations)
            .arg(shown(copy.path));
    } catch (const DatabaseError &e) {
        return QStringLiteral("%1  無法讀取 (%2)  %3").arg(head, e.message(), shown(copy.path));
    }
}

int listCopies()
{
    QString error;
    const QString book = sqliteBook(&error);
    if (book.isEmpty()) {
        say(stderr, error);
        return Failed;
    }
    const BackupFolder folder(book);
    const std::vector<BackupCopy> copies = folder.copies();
    if (copies.empty()) {
        say(stdout, QStringLiteral("資料夾 %1 裡還沒有資料庫 %2 的備份。")
                        .arg(shown(folder.path()), shown(book)));
        return Done;
    }
    for (const BackupCopy &copy : copies)
        say(stdout, describe(copy));
    say(stdout, QStringLiteral("共 %1 份備份,在資料夾 %2。").arg(copies.size())
                    .arg(shown(folder.path())));
    return Done;
}

// Runs a command with one FILE argument, or none, without a window.
template<typename Command>
int runCommand(int &argc, char **argv, int arguments, const char *usage, Command command)
{
    if (argc != 2 + arguments) {
        std::fprintf(stderr, "用法: tradebook %s\n", usage);
        return Usage;
    }
    QCoreApplication app(argc, argv);
    try {
        return command(arguments > 0 ? QFile::decodeName(argv[2]) : QString());
    } catch (const DatabaseError &e) {
        say(stderr, e.message());
    }
    return Failed;
}

} // namespace

int BackupCommands::backup(int &argc, char **argv)
{
    return runCommand(argc, argv, 1, "--backup 檔案", backUp);
}

int BackupCommands::restore(int &argc, char **argv)
{
    return runCommand(argc, argv, 1, "--restore 檔案", restoreBook);
}

int BackupCommands::listBackups(int &argc, char **argv)
{
    return runCommand(argc, argv, 0, "--list-backups",
                      [](const QString &) { return listCopies(); });
}

} // namespace tb
