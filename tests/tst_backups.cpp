// The automatic copies while the application runs, the message when none can be written,
// and the backup commands of the application's binary.

#include "app/backupscheduler.h"
#include "controls/dbedit.h"
#include "data/book/backupfolder.h"
#include "data/book/bookbackup.h"
#include "data/book/database.h"
#include "maintenance/product.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace tb;
using tb::test::ModalAnswer;

namespace {

constexpr qint64 Hour = 3600;

QSettings settings()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
}

QByteArray digest(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

struct Run
{
    int code = -1;
    QStringList out;
    QStringList err;
};

} // namespace

class TestBackupsInApplication : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<test::TestDatabase> m_db;
    QDateTime m_now;

    QString book() const { return m_db->path(); }
    void addProduct(int number)
    {
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) VALUES (?, ?)"),
                   {QStringLiteral("PR%1").arg(number, 6, 10, QLatin1Char('0')),
                    QStringLiteral("產品")});
    }
    std::unique_ptr<BackupScheduler> scheduler()
    {
        return std::make_unique<BackupScheduler>(book(), [this] { return m_now; });
    }
    // Asks the scheduler to look, and waits until the worker has looked.
    static void lookAndWait(BackupScheduler &backups, int copies, int failures = 0)
    {
        QSignalSpy copied(&backups, &BackupScheduler::copied);
        QSignalSpy failed(&backups, &BackupScheduler::failed);
        backups.look();
        if (copies + failures > 0)
            QTRY_COMPARE(copied.count() + failed.count(), copies + failures);
        else
            QTest::qWait(300);
        QCOMPARE(copied.count(), copies);
        QCOMPARE(failed.count(), failures);
    }
    Run run(const QStringList &arguments, const QString &database)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("TRADEBOOK_DATABASE"), database);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath("config"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TRADEBOOK_BINARY), arguments);
        if (!process.waitForFinished(60000))
            qFatal("tradebook did not finish");
        const auto lines = [](const QByteArray &bytes) {
            return QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        };
        return {process.exitCode(), lines(process.readAllStandardOutput()),
                lines(process.readAllStandardError())};
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toLocal8Bit());
    }
    void init()
    {
        settings().clear();
        m_db = std::make_unique<test::TestDatabase>();
        // A day ahead of the files' own times, whole seconds as in the copies' names.
        const QDateTime now = QDateTime::currentDateTime().addDays(1);
        m_now = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()));
        addProduct(1);
    }
    void cleanup()
    {
        m_db.reset();
        Database::closeAll();
    }

    // A changed book gets a copy; the next waits for an hour and a change; the end of the run
    // takes one more if the book changed meanwhile.
    void copiesWhenChangedAndDue()
    {
        const BackupFolder folder(book());
        {
            auto backups = scheduler();
            lookAndWait(*backups, 1);
            QCOMPARE(folder.copies().size(), size_t(1));
            m_now = m_now.addSecs(2 * Hour);
            lookAndWait(*backups, 0); // unchanged
            addProduct(2);
            m_now = m_now.addSecs(Hour / 2);
            lookAndWait(*backups, 1); // changed, last copy 2.5 hours old
            addProduct(3);
            m_now = m_now.addSecs(Hour / 2);
            lookAndWait(*backups, 0); // changed, but the last copy is half an hour old
            m_now = m_now.addSecs(60);
        } // the end of the run
        const std::vector<BackupCopy> copies = folder.copies();
        QCOMPARE(copies.size(), size_t(3));
        QCOMPARE(copies.back().time, m_now);
        QCOMPARE(BookBackup::rowCounts(copies.back().path).products, qint64(3));

        // Nothing changed since: a new run takes no copy, even at its end.
        m_now = m_now.addSecs(3 * Hour);
        {
            auto backups = scheduler();
            lookAndWait(*backups, 0);
        }
        QCOMPARE(folder.copies().size(), size_t(3));

        // Written by another program after the last copy, while no copy of the application
        // ran: the next run's first look copies it.
        Database::closeAll();
        QFile file(book());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(m_now.addSecs(Hour), QFileDevice::FileModificationTime));
        file.close();
        m_now = m_now.addSecs(2 * Hour);
        {
            auto backups = scheduler();
            lookAndWait(*backups, 1);
        }
        QCOMPARE(folder.copies().size(), size_t(4));
    }

    // A folder that cannot be written: one message naming it per run, however often a copy
    // fails, and the user's saves go through.
    void unwritableFolderToldOnce()
    {
        QTemporaryDir out;
        QFile blocker(out.filePath(QStringLiteral("disk")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString folder = out.filePath(QStringLiteral("disk/backups"));
        settings().setValue(QStringLiteral("backup/folder"), folder);

        Product = new TProduct;
        Product->show();
        auto backups = scheduler();
        {
            ModalAnswer answer(QMessageBox::Ok);
            lookAndWait(*backups, 0, 1);
            QTRY_COMPARE(answer.seen(), 1);
            QVERIFY(answer.text().startsWith(QStringLiteral("無法建立備份資料夾")));
            QVERIFY(answer.text().contains(QDir::toNativeSeparators(folder)));
        }
        addProduct(2);
        m_now = m_now.addSecs(2 * Hour);
        {
            ModalAnswer answer(QMessageBox::Ok);
            lookAndWait(*backups, 0, 1);
            QTest::qWait(200);
            QCOMPARE(answer.seen(), 0);
        }
        // A save through the product screen goes on as before.
        QTest::mouseClick(Product->findChild<QAbstractButton *>("sbInsert"), Qt::LeftButton);
        Product->findChild<DBEdit *>("EditName")->setText(QStringLiteral("椅子"));
        Product->findChild<DBEdit *>("EditType")->setText(QStringLiteral("T"));
        Product->findChild<DBEdit *>("EditUnit")->setText(QStringLiteral("U"));
        Product->findChild<DBEdit *>("EditSafeStock")->setText(QStringLiteral("1"));
        Product->findChild<DBEdit *>("EditPriceA")->setText(QStringLiteral("100"));
        QTest::mouseClick(Product->findChild<QAbstractButton *>("sbPost"), Qt::LeftButton);
        QCOMPARE(m_db->scalar("SELECT count(*) FROM Product WHERE ProductName = '椅子'").toInt(),
                 1);
        backups.reset();
        delete Product;
        Product = nullptr;
    }

    // --backup, --list-backups and --restore as a script runs them, without a display.
    void commands()
    {
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("copy.db"));
        const Run backup = run({"--backup", file}, book());
        QCOMPARE(backup.code, 0);
        QCOMPARE(backup.out.size(), 1);
        QVERIFY2(backup.err.isEmpty(), qPrintable(backup.err.join('\n')));
        BookBackup::check(file);
        const Run again = run({"--backup", file}, book());
        QCOMPARE(again.code, 1);
        QCOMPARE(again.err.size(), 1);
        QVERIFY(again.err[0].contains(QStringLiteral("已經存在")));
        QCOMPARE(run({"--backup"}, book()).code, 2);

        const Run none = run({"--list-backups"}, book());
        QCOMPARE(none.code, 0);
        QVERIFY(none.out.join('\n').contains(QStringLiteral("還沒有")));
        BackupFolder(book()).take(m_now);
        addProduct(2);
        BackupFolder(book()).take(m_now.addSecs(Hour));
        // Read before the book is opened again: closing any descriptor of the file drops
        // the process's locks on it (POSIX), the very locks that tell the book is open.
        Database::closeAll();
        const QByteArray bookBefore = digest(book());
        QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
        const Run list = run({"--list-backups"}, book());
        QCOMPARE(list.code, 0);
        QCOMPARE(list.out.size(), 3);
        QVERIFY2(list.out[0].contains(m_now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                 qPrintable(list.out[0]));
        QVERIFY(list.out[0].contains(QStringLiteral("產品 1 ")));
        QVERIFY(list.out[1].contains(QStringLiteral("產品 2 ")));

        // The book is open here, as in a running application: no restore.
        const Run busy = run({"--restore", file}, book());
        QCOMPARE(busy.code, 1);
        QVERIFY(busy.err.value(0).contains(QStringLiteral("正由另一個程式開啟")));
        Database::closeAll();
        QCOMPARE(digest(book()), bookBefore); // neither listing nor the refusal wrote

        const QString foreign = out.filePath(QStringLiteral("notes.txt"));
        QFile notes(foreign);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a book\n");
        notes.close();
        const Run refused = run({"--restore", foreign}, book());
        QCOMPARE(refused.code, 1);
        QCOMPARE(refused.err.size(), 1);
        QVERIFY(refused.err[0].startsWith(QStringLiteral("檔案 ")));

        const Run restored = run({"--restore", file}, book());
        QCOMPARE(restored.code, 0);
        QVERIFY2(restored.out.value(0).contains(QStringLiteral("保留在")),
                 qPrintable(restored.err.join('\n')));
        QCOMPARE(m_db->count(QStringLiteral("Product")), 1);
    }

    // A copy killed half way leaves no file under the copy's name; the next one succeeds.
    void killedCopyLeavesNoHalfFile()
    {
        m_db->exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 60000) "
            "INSERT INTO Product (ProductID, ProductName) SELECT printf('PR%06d', i), "
            "hex(randomblob(40)) FROM n"));
        Database::closeAll();
        QTemporaryDir out;
        for (int round = 0; round < 6; ++round) {
            const QString file = out.filePath(QStringLiteral("copy%1.db").arg(round));
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TRADEBOOK_DATABASE"), book());
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath("config"));
            process.setProcessEnvironment(env);
            process.start(QStringLiteral(TRADEBOOK_BINARY), {"--backup", file});
            QVERIFY(process.waitForStarted());
            QTest::qWait(int(QRandomGenerator::global()->bounded(20, 400)));
            process.kill();
            process.waitForFinished();
            if (QFileInfo::exists(file))
                BookBackup::check(file); // finished before the kill: whole
        }
        const QString last = out.filePath(QStringLiteral("last.db"));
        QCOMPARE(run({"--backup", last}, book()).code, 0);
        QCOMPARE(BookBackup::rowCounts(last).products, qint64(60000));
    }
};

QTEST_MAIN(TestBackupsInApplication)
#include "tst_backups.moc"
