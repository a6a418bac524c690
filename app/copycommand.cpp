#include "app/copycommand.h"

#include "data/book/bookcopier.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace tb {

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// The text with each of the URIs it repeats shown without its password.
QString withoutPasswords(QString text, const QStringList &uris)
{
    for (const QString &uri : uris)
        if (PgUri::masked(uri) != uri)
            text.replace(uri, PgUri::masked(uri));
    return text;
}

} // namespace

int runCopyCommand(int &argc, char **argv, const QStringList &values)
{
    QCoreApplication app(argc, argv); // no window: it runs in a terminal
    const QString from = values.at(0);
    const QString to = values.at(1);
    print(stdout, QStringLiteral("複製 %1 到 %2\n").arg(PgUri::masked(from), PgUri::masked(to)));
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
                          .arg(withoutPasswords(error.message(), {from, to})));
        return 1;
    }
    print(stdout, QStringLiteral("\n完成: 複製了 %1 筆資料,每個資料表的筆數都與來源相符。\n")
                      .arg(copied));
    return 0;
}

} // namespace tb
