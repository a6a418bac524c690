// A book whose folder or file cannot be written: the application starts and shows the data;
// a save fails with a message that says why and keeps the user's values; once the folder or
// file can be written again, the next save goes through without a restart.
//
// The scenario runs in a child process as an unprivileged user (root writes anywhere).

#include "app/startup.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "maintenance/product.h"
#include "testsupport/screenparts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <unistd.h>

using namespace tb;
using namespace tb::test;

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// In the child: open, show, refuse a save, wait for the parent, save.
int childScenario()
{
    QApplication::setQuitOnLastWindowClosed(false);
    if (!startUp())
        return 2;
    say(QStringLiteral("started"));
    table1(Product)->Open();
    Field *name = table1(Product)->FieldByName(QStringLiteral("ProductName"));
    say(QStringLiteral("shown ") + name->AsString());
    table1(Product)->Edit();
    name->setAsString(QStringLiteral("壁紙"));
    try {
        table1(Product)->Post();
        say(QStringLiteral("saved too early"));
    } catch (const DatabaseError &error) {
        say(QStringLiteral("refused ") + error.message().section(QLatin1Char('\n'), 0, 0));
    }
    say(table1(Product)->State() == DataSetState::Edit ? QStringLiteral("still editing ")
                                                          + name->AsString()
                                                       : QStringLiteral("not editing"));
    say(QStringLiteral("waiting"));
    std::string go;
    std::getline(std::cin, go);
    try {
        table1(Product)->Post();
        say(QStringLiteral("saved"));
    } catch (const DatabaseError &error) {
        say(QStringLiteral("refused again ") + error.message());
    }
    shutDown();
    return 0;
}

// A book with one product in a folder of its own, its journal files gone.
QString makeBook(const QTemporaryDir &dir)
{
    const QString folder = dir.filePath(QStringLiteral("books"));
    if (!QDir().mkpath(folder))
        return {};
    const QString path = folder + QStringLiteral("/book.db");
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), path);
    Database::exec(Database::connection(),
                   QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                                  "VALUES ('PR000001', '磁磚')"));
    Database::closeAll(); // the journal files go with the last connection
    return path;
}

// Runs the child scenario on the book (as nobody when the tests run as root, who writes
// anywhere): lock() takes the right to write away before it starts, unlock() gives it back
// while the child waits. Returns what the child said.
QString runScenario(const QTemporaryDir &dir, const QString &path,
                    const std::function<void()> &lock, const std::function<void()> &unlock)
{
    QStringList command{QCoreApplication::applicationFilePath(), QStringLiteral("--child")};
    if (geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            return QStringLiteral("no setpriv");
        for (const QString &p : {dir.path(), QFileInfo(path).path(), path})
            if (::chown(QFile::encodeName(p).constData(), 65534, 65534) != 0)
                return QStringLiteral("chown failed");
        command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                              QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups")} + command;
    }
    lock();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRADEBOOK_DATABASE"), path);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("HOME"), dir.path());
    child.setProcessEnvironment(env);
    child.start(command.first(), command.mid(1));
    if (!child.waitForStarted())
        return QStringLiteral("not started");
    QByteArray output;
    QDeadlineTimer deadline(30000);
    while (!output.contains("waiting") && !deadline.hasExpired()
           && child.state() == QProcess::Running) {
        child.waitForReadyRead(100);
        output += child.readAllStandardOutput();
    }
    unlock();
    child.write("go\n");
    child.waitForFinished(30000);
    output += child.readAllStandardOutput();
    return QString::fromUtf8(output) + QStringLiteral("\nexit %1\n").arg(child.exitCode())
           + QString::fromUtf8(child.readAllStandardError());
}

void checkRefusedThenSaved(const QString &log)
{
    QVERIFY2(log.contains(QStringLiteral("\nexit 0\n")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("shown 磁磚")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("refused 資料庫檔案 ")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("目前無法寫入")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("still editing 壁紙")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("\nsaved")), qPrintable(log));
}

QString storedName(const QString &path)
{
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), path);
    QSqlQuery q = Database::exec(Database::connection(),
                                 QStringLiteral("SELECT ProductName FROM Product"));
    const QString name = q.next() ? q.value(0).toString() : QString();
    q.finish();
    Database::closeAll();
    return name;
}

} // namespace

class TestReadOnlyBook : public QObject
{
    Q_OBJECT

private slots:
    void viewingWhenTheFolderCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString path = makeBook(dir);
        QVERIFY(!path.isEmpty());
        const QString folder = QFileInfo(path).path();
        const QString log = runScenario(
            dir, path,
            [&] {
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther
                                                  | QFileDevice::ExeOther);
            },
            [&] {
                QFile::setPermissions(folder,
                                      QFile::permissions(folder) | QFileDevice::WriteOwner);
            });
        checkRefusedThenSaved(log);
        QCOMPARE(storedName(path), QStringLiteral("壁紙"));
    }

    // The file itself read-only (0444) in a folder that can be written: viewing, refused
    // saves, and the first save after chmod 644 goes through. No journal file is left
    // behind that could not be written (it would refuse every later save).
    void viewingWhenTheFileCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString path = makeBook(dir);
        QVERIFY(!path.isEmpty());
        const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup
                              | QFileDevice::ReadOther;
        const QString log = runScenario(
            dir, path, [&] { QFile::setPermissions(path, readOnly); },
            [&] { QFile::setPermissions(path, readOnly | QFileDevice::WriteOwner); });
        checkRefusedThenSaved(log);
        for (const char *suffix : {"-wal", "-shm"}) {
            const QString companion = path + QLatin1String(suffix);
            QVERIFY2(!QFile::exists(companion)
                         || (QFile::permissions(companion) & QFileDevice::WriteOwner),
                     suffix);
        }
        QCOMPARE(storedName(path), QStringLiteral("壁紙"));
    }

    // Companions an earlier run left read-only beside a book that can be written again are
    // mended before the book is written: the save goes through.
    void readOnlyCompanionsLeftBehindAreMended()
    {
        QTemporaryDir dir;
        const QString path = makeBook(dir);
        QVERIFY(!path.isEmpty());
        const QString log = runScenario(
            dir, path,
            [&] {
                for (const char *suffix : {"-wal", "-shm"}) {
                    QFile companion(path + QLatin1String(suffix));
                    QVERIFY(companion.open(QIODevice::WriteOnly));
                    companion.close();
                    if (geteuid() == 0)
                        QVERIFY(::chown(QFile::encodeName(companion.fileName()).constData(),
                                        65534, 65534) == 0);
                    QFile::setPermissions(companion.fileName(), QFileDevice::ReadOwner
                                                                    | QFileDevice::ReadOther);
                }
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
            },
            [&] {
                QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
            });
        checkRefusedThenSaved(log);
        QCOMPARE(storedName(path), QStringLiteral("壁紙"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return childScenario();
    TestReadOnlyBook test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_readonlybook.moc"
