#include "app/samplebookcommand.h"

#include "app/samplebook.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace tb {

namespace {

const QString Alias = QStringLiteral("sampleBook");

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

int refuse(const QString &message)
{
    print(stderr, message + QLatin1Char('\n'));
    return 1;
}

// The book is written in a folder of its own beside FILE and moved into place when it is
// complete, so a failure or an interruption never leaves half a book under FILE.
bool writeInto(const QString &file, QString *error)
{
    try {
        Database::setPath(Alias, file);
        SampleBook(Alias, Clock::today()).write();
        Database::setPath(Alias, QString());
    } catch (const DatabaseError &e) {
        Database::setPath(Alias, QString());
        *error = e.message();
        return false;
    }
    return true;
}

} // namespace

int runSampleBookCommand(const QStringList &arguments)
{
    if (arguments.size() != 3) {
        print(stderr, QStringLiteral("用法: tradebook --sample-book 檔案\n"
                                     "寫一本新的範例帳本到還不存在的檔案。\n"));
        return 2;
    }
    const QFileInfo target(arguments.at(2));
    const QString path = QDir::toNativeSeparators(target.absoluteFilePath());
    if (target.exists() || target.isSymLink())
        return refuse(QStringLiteral("檔案 %1 已經存在,範例帳本沒有寫入,檔案保持原樣。"
                                     "請指定一個還不存在的檔案。").arg(path));
    const QString folder = target.absolutePath();
    if (!PrivateFiles::makeFolders(folder))
        return refuse(QStringLiteral("無法建立資料夾 %1,範例帳本沒有寫入。請檢查路徑與權限。")
                          .arg(QDir::toNativeSeparators(folder)));
    QTemporaryDir work(folder + QStringLiteral("/.tradebook-sample-XXXXXX"));
    if (!work.isValid())
        return refuse(QStringLiteral("無法在資料夾 %1 寫入,範例帳本沒有寫入。請檢查權限與磁碟空間。\n%2")
                          .arg(QDir::toNativeSeparators(folder), work.errorString()));
    const QString building = work.filePath(QStringLiteral("sample.db"));
    QString error;
    if (!writeInto(building, &error))
        return refuse(QStringLiteral("範例帳本 %1 寫入失敗,沒有留下任何檔案。\n%2")
                          .arg(path, error));
    QFile::setPermissions(building, QFile::ReadOwner | QFile::WriteOwner);
    // rename() refuses a FILE that appeared meanwhile: it stays as it is.
    QFile book(building);
    if (!book.rename(target.absoluteFilePath()))
        return refuse(QStringLiteral("範例帳本無法存成 %1,沒有留下任何檔案。"
                                     "請確認檔案還不存在,並檢查權限。\n%2")
                          .arg(path, book.errorString()));
    print(stdout, QStringLiteral("已寫入範例帳本 %1。\n開啟方式: TRADEBOOK_DATABASE=%1 tradebook\n")
                      .arg(path));
    return 0;
}

} // namespace tb
