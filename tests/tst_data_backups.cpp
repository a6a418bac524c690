// Checked copies of an SQLite book: writing and checking them, which ones are kept, putting
// one back in the book's place, and the refusal of a book on a network share.

#include "data/book/backupfolder.h"
#include "data/book/backupretention.h"
#include "data/book/bookbackup.h"
#include "data/book/bookrestore.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/networkshare.h"
#include "testsupport/testdatabase.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <set>

using namespace tb;

namespace {

constexpr qint64 Hour = 3600;
constexpr qint64 Day = 24 * Hour;
constexpr int LinesPerQuotation = 12;

QSettings settings()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
}

// The owner's, group's and others' permissions (not the current user's view of them).
constexpr int PrivateFile = int(QFile::ReadOwner | QFile::WriteOwner);
constexpr int PrivateFolder = PrivateFile | int(QFile::ExeOwner);
int modeOf(const QString &path)
{
    return int(QFile::permissions(path).toInt() & 0x7077);
}

QByteArray digest(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return {};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Writes quotations, each header with all its lines in one transaction, on a connection of
// its own, until told to stop: another copy of the application saving while a copy is taken.
class QuotationWriter : public QThread
{
public:
    explicit QuotationWriter(QString book) : m_book(std::move(book)) {}
    std::atomic<bool> stop = false;
    std::atomic<int> written = 0;

protected:
    void run() override
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
            db.setDatabaseName(m_book);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            if (!db.open())
                return;
            while (!stop)
                writeOne(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name());
    }

private:
    static QString name() { return QStringLiteral("writer"); }
    void writeOne(QSqlDatabase &db)
    {
        const QString id = QStringLiteral("W%1").arg(written, 9, 10, QLatin1Char('0'));
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO QuoteMaster (QuoteID, Memo) VALUES (?, ?)"));
        q.addBindValue(id);
        q.addBindValue(QString(400, QChar(u'報')));
        q.exec();
        for (int line = 1; line <= LinesPerQuotation; ++line) {
            q.prepare(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, Quantity) "
                                     "VALUES (?, ?, ?)"));
            q.addBindValue(id);
            q.addBindValue(QString::number(line));
            q.addBindValue(line);
            q.exec();
        }
        if (db.commit())
            ++written;
    }
    QString m_book;
};

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    std::unique_ptr<test::TestDatabase> m_db;

    QString book() const { return m_db->path(); }
    void addProducts(int from, int count)
    {
        for (int i = from; i < from + count; ++i)
            m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                                      "VALUES (?, ?)"),
                       {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                        QStringLiteral("產品%1").arg(i)});
    }
    static std::vector<BackupCopy> copiesAt(const QDateTime &now,
                                            const std::vector<qint64> &agesInHours)
    {
        std::vector<BackupCopy> copies;
        for (const qint64 age : agesInHours)
            copies.push_back({QStringLiteral("copy-%1h").arg(age), now.addSecs(-age * Hour),
                              100});
        return copies;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void init()
    {
        settings().clear();
        m_db = std::make_unique<test::TestDatabase>();
        addProducts(1, 3);
        m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID) VALUES ('CU000001')"));
    }
    void cleanup()
    {
        m_db.reset();
        Database::closeAll();
    }

    void retentionByAge_data()
    {
        QTest::addColumn<std::vector<qint64>>("ages"); // hours before now
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<std::vector<qint64>>("kept");
        using V = std::vector<qint64>;
        QTest::newRow("none") << V{} << qint64(0) << V{};
        QTest::newRow("every copy of the last day")
            << V{0, 1, 2, 12, 23} << qint64(0) << V{0, 1, 2, 12, 23};
        QTest::newRow("nothing older than a year")
            << V{1, 366 * 24, 400 * 24} << qint64(0) << V{1};
        QTest::newRow("the newest stays however old")
            << V{400 * 24, 500 * 24} << qint64(0) << V{400 * 24};
        QTest::newRow("budget: oldest go first")
            << V{0, 1, 2, 3} << qint64(250) << V{0, 1};
        QTest::newRow("budget: the newest stays over it")
            << V{0, 1} << qint64(50) << V{0};
    }
    void retentionByAge()
    {
        QFETCH(std::vector<qint64>, ages);
        QFETCH(qint64, budget);
        QFETCH(std::vector<qint64>, kept);
        const QDateTime now(QDate(2026, 6, 15), QTime(12, 0));
        const std::vector<BackupCopy> copies = copiesAt(now, ages);
        std::set<QString> left;
        for (const BackupCopy &c : copies)
            left.insert(c.path);
        for (const BackupCopy &gone : BackupRetention::expired(copies, now, budget))
            left.erase(gone.path);
        std::set<QString> expected;
        for (const qint64 age : kept)
            expected.insert(QStringLiteral("copy-%1h").arg(age));
        QCOMPARE(left, expected);
    }

    // A copy every hour for 400 days, the rule applied after each: the kept set is every
    // copy of the last day, one a day for 30 days, one a month for a year, nothing older.
    void retentionWithMovingClock()
    {
        const QDateTime start(QDate(2025, 1, 1), QTime(0, 30));
        std::vector<BackupCopy> kept;
        QDateTime now = start;
        for (int hour = 0; hour < 400 * 24; ++hour) {
            now = start.addSecs(hour * Hour);
            kept.push_back({now.toString(Qt::ISODate), now, 1});
            for (const BackupCopy &gone : BackupRetention::expired(kept, now, 0))
                kept.erase(std::find_if(kept.begin(), kept.end(), [&](const BackupCopy &c) {
                    return c.path == gone.path;
                }));
            if (hour % 24 != 0 && hour != 400 * 24 - 1)
                continue;
            std::set<qint64> days;
            std::set<int> months;
            int lastDay = 0;
            for (const BackupCopy &c : kept) {
                const qint64 age = c.time.secsTo(now);
                QVERIFY2(age < 365 * Day, qPrintable(c.path));
                if (age < Day) {
                    ++lastDay;
                } else if (age < 30 * Day) {
                    QVERIFY2(days.insert(c.time.date().toJulianDay()).second, qPrintable(c.path));
                } else {
                    QVERIFY2(months.insert(c.time.date().year() * 12 + c.time.date().month())
                                 .second, qPrintable(c.path));
                }
            }
            QCOMPARE(lastDay, std::min(hour + 1, 24));
            if (hour >= 30 * 24)
                QVERIFY(days.size() >= 28);
        }
        // A year and more has passed: the months of the last year each kept one copy.
        std::set<int> months;
        for (const BackupCopy &c : kept) {
            if (c.time.secsTo(now) >= 30 * Day)
                months.insert(c.time.date().year() * 12 + c.time.date().month());
        }
        QVERIFY(months.size() >= 11);
        QVERIFY(kept.size() < 24 + 30 + 13);
    }

    // A copy holds the book's rows, passes its check, is private, and takes its name only
    // when whole; a name in use is never written over.
    void copyIsCheckedAndPrivate()
    {
        QTemporaryDir out;
        const QString target = out.filePath(QStringLiteral("copy.db"));
        BookBackup::write(book(), target);
        QVERIFY(QFileInfo::exists(target));
        QVERIFY(!QFileInfo::exists(BookBackup::temporaryName(target)));
        QCOMPARE(modeOf(target), PrivateFile);
        BookBackup::check(target);
        const BookBackup::RowCounts rows = BookBackup::rowCounts(target);
        QCOMPARE(rows.products, qint64(3));
        QCOMPARE(rows.customers, qint64(1));
        QCOMPARE(rows.quotations, qint64(0));

        const QByteArray before = digest(target);
        QVERIFY(errorOf([&] { BookBackup::write(book(), target); }).contains(
            QStringLiteral("已經存在")));
        QCOMPARE(digest(target), before);
        // Reading a copy (check, counts) writes nothing into its folder.
        BookBackup::check(target);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A folder that is missing (or a disk that is full) fails with the folder's name and
    // leaves nothing behind; the book is as it was and takes saves.
    void copyIntoMissingFolderFails()
    {
        QTemporaryDir out;
        writeFile(out.filePath(QStringLiteral("file")), "x");
        settings().setValue(QStringLiteral("backup/folder"),
                            out.filePath(QStringLiteral("file/backups")));
        const BackupFolder folder(book());
        const QString message = errorOf([&] { folder.take(QDateTime::currentDateTime()); });
        QVERIFY2(message.startsWith(QStringLiteral("無法建立備份資料夾")), qPrintable(message));
        QVERIFY(message.contains(QDir::toNativeSeparators(folder.path())));
        addProducts(10, 1);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 4);

        const QString message2 = errorOf([&] {
            BookBackup::write(book(), out.filePath(QStringLiteral("gone/copy.db")));
        });
        QVERIFY2(message2.contains(QDir::toNativeSeparators(out.filePath("gone"))),
                 qPrintable(message2));
        QVERIFY(message2.contains(QLatin1Char('\n'))); // the engine's text below
    }

    // Empty, foreign and damaged files are refused with a reason, and left as they were.
    void checkRefusesWhatIsNoBook_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << "empty";
        QTest::newRow("text") << "text";
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("damaged book") << "damaged";
    }
    void checkRefusesWhatIsNoBook()
    {
        QFETCH(QString, kind);
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("file.db"));
        if (kind == QLatin1String("empty")) {
            writeFile(file, {});
        } else if (kind == QLatin1String("text")) {
            writeFile(file, QByteArray("name,price\n").repeated(500));
        } else if (kind == QLatin1String("foreign")) {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "f");
                db.setDatabaseName(file);
                QVERIFY(db.open());
                QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Notes (Body TEXT)"));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("f"));
        } else {
            addProducts(100, 2000);
            BookBackup::write(book(), file);
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 2);
            f.write(QByteArray(8192, '\xA5'));
        }
        const QByteArray before = digest(file);
        const QString message = errorOf([&] { BookBackup::check(file); });
        QVERIFY2(message.startsWith(QStringLiteral("檔案 ")), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("不是完整的本系統資料庫")));
        QCOMPARE(digest(file), before);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // Copies taken while another connection saves quotations: each opens, passes its check,
    // and every quotation in it has all of its lines.
    void copyWhileQuotationsAreSaved()
    {
        QTemporaryDir out;
        QuotationWriter writer(book());
        writer.start();
        QTRY_VERIFY(writer.written > 0);
        for (int i = 0; i < 5; ++i) {
            const QString target = out.filePath(QStringLiteral("copy%1.db").arg(i));
            BookBackup::write(book(), target);
            BookBackup::check(target);
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "c");
            db.setDatabaseName(target);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral(
                "SELECT count(*), sum(n <> %1) FROM (SELECT m.QuoteID, count(d.SEQ) AS n "
                "FROM QuoteMaster m LEFT JOIN QuoteDetail d ON d.QuoteID = m.QuoteID "
                "GROUP BY m.QuoteID)").arg(LinesPerQuotation)));
            QVERIFY(q.next());
            QVERIFY(q.value(0).toInt() > 0);
            QCOMPARE(q.value(1).toInt(), 0);
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("c"));
        }
        writer.stop = true;
        writer.wait();
        QVERIFY(writer.written > 5);
    }

    // The folder beside the book: made private where missing; copies named by their time;
    // the rule and the budget applied after each copy; what a stopped copy left is not a
    // copy, and goes once it is old.
    void folderKeepsCopies()
    {
        const BackupFolder folder(book());
        QCOMPARE(folder.path(), QFileInfo(book()).absoluteDir().filePath("backups"));
        const QDateTime now(QDate(2026, 3, 1), QTime(9, 0));
        const BackupCopy first = folder.take(now);
        QCOMPARE(modeOf(folder.path()), PrivateFolder);
        QCOMPARE(QFileInfo(first.path).fileName(),
                 QFileInfo(book()).completeBaseName() + "-20260301-090000.db");
        const QString stopped = BookBackup::temporaryName(folder.copyPath(now.addSecs(60)));
        writeFile(stopped, QByteArray(4096, 'x'));
        folder.take(now.addSecs(Hour));
        QCOMPARE(folder.copies().size(), size_t(2));
        QCOMPARE(folder.copies().back().time, now.addSecs(Hour));
        QVERIFY(QFileInfo::exists(stopped)); // it may still be being written
        QFile unfinished(stopped);
        QVERIFY(unfinished.open(QIODevice::ReadWrite));
        QVERIFY(unfinished.setFileTime(QDateTime::currentDateTime().addSecs(-2 * Hour),
                                       QFileDevice::FileModificationTime));
        unfinished.close();
        // Two days on: the first day keeps its first copy; the stopped copy is gone.
        folder.take(now.addSecs(2 * Day));
        QVERIFY(!QFileInfo::exists(stopped));
        const std::vector<BackupCopy> copies = folder.copies();
        QCOMPARE(copies.size(), size_t(2));
        QCOMPARE(copies.front().path, first.path);

        settings().setValue(QStringLiteral("backup/maxMegabytes"), 1);
        m_db->exec(QStringLiteral( // a copy now takes more than the budget
            "WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < 9000) "
            "INSERT INTO Product (ProductID, ProductName) SELECT printf('PR%06d', i), "
            "hex(randomblob(30)) FROM n"));
        folder.take(now.addSecs(2 * Day + Hour));
        QCOMPARE(folder.copies().size(), size_t(1));
        QCOMPARE(folder.copies().back().time, now.addSecs(2 * Day + Hour));
    }

    void folderFromSettings()
    {
        QTemporaryDir out;
        settings().setValue(QStringLiteral("backup/folder"), out.filePath("usb/tradebook"));
        const BackupFolder folder(book());
        QCOMPARE(folder.path(), out.filePath("usb/tradebook"));
        folder.take(QDateTime::currentDateTime());
        QCOMPARE(folder.copies().size(), size_t(1));
        QCOMPARE(modeOf(out.filePath("usb")), PrivateFolder);
    }

    // Every kept copy can be put back and shows its own rows; the book is set aside first.
    void restoreEveryCopy()
    {
        const BackupFolder folder(book());
        const QDateTime now(QDate(2026, 3, 1), QTime(9, 0));
        for (int i = 0; i < 3; ++i) {
            addProducts(100 + i, 1);
            folder.take(now.addSecs(i * Hour));
        }
        addProducts(200, 1); // saved after the last copy: lives on in the set-aside book
        const std::vector<BackupCopy> copies = folder.copies();
        QCOMPARE(copies.size(), size_t(3));
        Database::closeAll();
        for (size_t i = 0; i < copies.size(); ++i) {
            const QString aside =
                BookRestore::restore(copies[i].path, book(), now.addSecs(Day + i * 60));
            QVERIFY(QFileInfo::exists(aside));
            QCOMPARE(modeOf(book()), PrivateFile);
            if (i == 0)
                QCOMPARE(BookBackup::rowCounts(aside).products, qint64(7));
            QCOMPARE(m_db->count(QStringLiteral("Product")), 4 + int(i));
            Database::closeAll();
        }
        QCOMPARE(folder.copies().size(), size_t(3)); // the set-aside books are not copies
    }

    // A damaged or foreign file, or a book that another program has open, is refused and
    // nothing changes.
    void restoreRefusals()
    {
        QTemporaryDir out;
        const QString damaged = out.filePath(QStringLiteral("damaged.db"));
        writeFile(damaged, QByteArray("SQLite format 3").append(QByteArray(5000, '\0')));
        const QString copy = out.filePath(QStringLiteral("copy.db"));
        BookBackup::write(book(), copy);
        Database::closeAll();
        const QByteArray before = digest(book());
        m_db->count(QStringLiteral("Product")); // the book open, as the application has it
        const BackupFolder folder(book());

        QVERIFY(errorOf([&] {
            BookRestore::restore(damaged, book(), QDateTime::currentDateTime());
        }).contains(QStringLiteral("不是完整的本系統資料庫")));
        const QString open = errorOf([&] {
            BookRestore::restore(copy, book(), QDateTime::currentDateTime());
        });
        QVERIFY2(open.contains(QStringLiteral("正由另一個程式開啟")), qPrintable(open));
        QCOMPARE(digest(book()), before);
        QVERIFY(!QFileInfo::exists(folder.path()));
        QCOMPARE(QDir(QFileInfo(book()).absolutePath())
                     .entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden).size(), 0);

        Database::closeAll();
        QVERIFY(!BookBackup::inUse(book()));
        BookRestore::restore(copy, book(), QDateTime::currentDateTime());
        QVERIFY(!QFileInfo::exists(book() + "-wal"));
        QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
    }

    // A book left by a crash keeps saves in its log: the set-aside book has them, and the
    // restored book shows the copy's rows, none of the old log's.
    void restoreOverCrashedBook()
    {
        QTemporaryDir out;
        const QString copy = out.filePath(QStringLiteral("copy.db"));
        BookBackup::write(book(), copy);
        Database::closeAll();
        const QString log = book() + QStringLiteral("-wal");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "crash");
            db.setDatabaseName(book());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
            QVERIFY(q.exec(QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 500 UNION ALL SELECT i + 1 FROM n WHERE i < 900) "
                "INSERT INTO Product (ProductID, ProductName) SELECT printf('PR%06d', i), "
                "hex(randomblob(40)) FROM n")));
            QVERIFY(QFile::copy(log, out.filePath(QStringLiteral("log"))));
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("crash"));
        // The book as a crash leaves it: the saves still in its log.
        QFile::remove(log);
        QVERIFY(QFile::copy(out.filePath(QStringLiteral("log")), log));

        const QString aside = BookRestore::restore(copy, book(), QDateTime::currentDateTime());
        QCOMPARE(m_db->count(QStringLiteral("Product")), 3); // opened as the application does
        Database::closeAll();
        BookBackup::check(book());
        QCOMPARE(BookBackup::rowCounts(aside).products, qint64(3 + 401));
    }

    void networkFileSystems_data()
    {
        QTest::addColumn<quint64>("type");
        QTest::addColumn<bool>("network");
        QTest::newRow("CIFS") << quint64(0xFF534D42) << true;
        QTest::newRow("SMB2") << quint64(0xFE534D42) << true;
        QTest::newRow("SMB") << quint64(0x517B) << true;
        QTest::newRow("NFS") << quint64(0x6969) << true;
        QTest::newRow("FUSE (sshfs)") << quint64(0x65735546) << true;
        QTest::newRow("9P") << quint64(0x01021997) << true;
        QTest::newRow("ext4") << quint64(0xEF53) << false;
        QTest::newRow("xfs") << quint64(0x58465342) << false;
        QTest::newRow("btrfs") << quint64(0x9123683E) << false;
        QTest::newRow("tmpfs") << quint64(0x01021994) << false;
        QTest::newRow("overlay") << quint64(0x794C7630) << false;
    }
    void networkFileSystems()
    {
        QFETCH(quint64, type);
        QFETCH(bool, network);
        QCOMPARE(NetworkShare::isNetworkType(type), network);
    }

    // The test's own folder is on this PC: the book opens there, and so does one not made yet.
    void localBookIsNotOnShare()
    {
        QVERIFY(!NetworkShare::holds(book()));
        QVERIFY(!NetworkShare::holds(QFileInfo(book()).absoluteDir().filePath("new/book.db")));
        QVERIFY(NetworkShare::refusal(book()).contains(
            QDir::toNativeSeparators(QFileInfo(book()).absoluteFilePath())));
        Database::connection();
    }
};

QTEST_GUILESS_MAIN(TestBackups)
#include "tst_data_backups.moc"
