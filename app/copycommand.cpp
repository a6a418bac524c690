#include "app/copycommand.h"

#include "data/bookcopier.h"
#include "data/errors.h"

#include <QElapsedTimer>

#include <cstdio>

namespace tb {

namespace {

const QString Option = QStringLiteral("--copy-database");

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

} // namespace

bool isCopyCommand(const QStringList &arguments)
{
    return arguments.size() > 1 && arguments.at(1) == Option;
}

int runCopyCommand(const QStringList &arguments)
{
    if (arguments.size() != 4) {
        print(stderr, QStringLiteral(
            "用法: tradebook --copy-database 來源 目的\n"
            "來源與目的是 SQLite 檔案的路徑或 postgresql://[使用者@]伺服器[:埠]/資料庫名稱;\n"
            "目的必須是空的資料庫 (或還不存在的檔案)。\n"));
        return 2;
    }
    const QString from = arguments.at(2);
    const QString to = arguments.at(3);
    print(stdout, QStringLiteral("複製 %1 到 %2\n").arg(from, to));
    QElapsedTimer shown;
    shown.start();
    qint64 copied = 0;
    try {
        copied = BookCopier::copy(from, to, [&](qint64 done, qint64 total, const QString &table) {
            if (done < total && shown.elapsed() < 200)
                return;
            shown.restart();
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            print(stdout, QStringLiteral("\r%1% (%2/%3 筆) %4          ")
                              .arg(percent).arg(done).arg(total).arg(table));
        });
    } catch (const DatabaseError &error) {
        print(stderr, QStringLiteral("\n複製失敗,目的資料庫沒有寫入任何資料:\n%1\n")
                          .arg(error.message()));
        return 1;
    }
    print(stdout, QStringLiteral("\n完成: 複製了 %1 筆資料,每個資料表的筆數都與來源相符。\n")
                      .arg(copied));
    return 0;
}

} // namespace tb
