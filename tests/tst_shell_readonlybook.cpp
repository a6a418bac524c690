// A book whose folder cannot be written: the application starts and shows the data; a save
// fails with a message that says why and keeps the user's values; once the folder can be
// written again, the next save goes through without a restart.
//
// The scenario runs in a child process as an unprivileged user (root writes anywhere).

#include "app/startup.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/tablecursor.h"
#include "maintenance/product.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

using namespace tb;

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
    Product->Table1->Open();
    Field *name = Product->Table1->FieldByName(QStringLiteral("ProductName"));
    say(QStringLiteral("shown ") + name->AsString());
    Product->Table1->Edit();
    name->setAsString(QStringLiteral("壁紙"));
    try {
        Product->Table1->Post();
        say(QStringLiteral("saved too early"));
    } catch (const DatabaseError &error) {
        say(QStringLiteral("refused ") + error.message().section(QLatin1Char('\n'), 0, 0));
    }
    say(Product->Table1->State() == DataSetState::Edit ? QStringLiteral("still editing ")
                                                          + name->AsString()
                                                       : QStringLiteral("not editing"));
    say(QStringLiteral("waiting"));
    std::string go;
    std::getline(std::cin, go);
    try {
        Product->Table1->Post();
        say(QStringLiteral("saved"));
    } catch (const DatabaseError &error) {
        say(QStringLiteral("refused again ") + error.message());
    }
    shutDown();
    return 0;
}

} // namespace

class TestReadOnlyBook : public QObject
{
    Q_OBJECT

private slots:
    void viewingWhenTheFolderCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("books"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/book.db");
        Database::setPath(QString::fromLatin1(Database::DefaultAlias), path);
        Database::exec(Database::connection(),
                       QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                                      "VALUES ('PR000001', '磁磚')"));
        Database::closeAll(); // the journal files go with the last connection

        QStringList command{QCoreApplication::applicationFilePath(), QStringLiteral("--child")};
        if (geteuid() == 0) {
            // root writes into any folder: the scenario runs as nobody, who owns the book.
            if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                QSKIP("running as root without setpriv");
            for (const QString &p : {dir.path(), folder, path})
                QVERIFY(::chown(QFile::encodeName(p).constData(), 65534, 65534) == 0);
            command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                                  QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")} + command;
        }
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther
                                                  | QFileDevice::ExeOther));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TRADEBOOK_DATABASE"), path);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("HOME"), dir.path());
        child.setProcessEnvironment(env);
        child.start(command.first(), command.mid(1));
        QVERIFY(child.waitForStarted());
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += child.readAllStandardOutput()).contains("waiting"),
                                 30000);
        QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::WriteOwner);
        child.write("go\n");
        QVERIFY(child.waitForFinished(30000));
        output += child.readAllStandardOutput();
        const QString log = QString::fromUtf8(output);
        QVERIFY2(child.exitCode() == 0, qPrintable(log + child.readAllStandardError()));
        QVERIFY2(log.contains(QStringLiteral("shown 磁磚")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("refused 資料庫檔案 ")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("目前無法寫入")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("still editing 壁紙")), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("\nsaved")), qPrintable(log));
        Database::setPath(QString::fromLatin1(Database::DefaultAlias), path);
        QSqlQuery q = Database::exec(Database::connection(),
                                     QStringLiteral("SELECT ProductName FROM Product"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("壁紙"));
        Database::closeAll();
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
