// What the book tells when its file is not what it should be: a book missing a table or a
// column, a full disk (at a save of many lines, at a single save, at a start), a damaged
// file found by the quick check.
#include "data/book/backgroundbookcheck.h"
#include "data/book/bookcheck.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/transaction.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace tb;
using tb::test::errorOf;

namespace {

const QString Alias = QString::fromLatin1(Database::DefaultAlias);

QString fullSentence(const QString &path)
{
    return QStringLiteral("磁碟空間已滿,無法寫入資料庫檔案 %1,請清出磁碟空間後再試一次。")
        .arg(path);
}

QString firstLine(const QString &message)
{
    return message.section(QLatin1Char('\n'), 0, 0);
}

// A small disk of its own (tmpfs), for as long as the object lives; only root may mount.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &size)
    {
        if (geteuid() != 0)
            return;
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                                      {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                       QStringLiteral("-o"), QStringLiteral("size=") + size,
                                       QStringLiteral("tmpfs"), m_dir.path()})
                    == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Writes a filler file until the disk refuses more.
    void fill() const
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1 && filler.flush()) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A book of the given number of products, closed again.
void makeBook(const QString &path, int products)
{
    Database::setPath(Alias, path);
    const QSqlDatabase db = Database::connection();
    Transaction transaction(db);
    for (int i = 1; i <= products; ++i)
        Database::exec(db,
                       QStringLiteral("INSERT INTO Product (ProductID, ProductName, TypeName) "
                                      "VALUES (?, ?, ?)"),
                       {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                        QStringLiteral("磁磚 %1").arg(i), QStringLiteral("木紋").repeated(8)});
    transaction.commit();
    Database::closeAll();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// 4 KiB of random bytes over the page in the middle of the file.
void damageMiddle(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 middle = (file.size() / 2) / 4096 * 4096;
    QByteArray noise(4096, '\0');
    QRandomGenerator random(17);
    for (char &c : noise)
        c = char(random.bounded(256));
    QVERIFY(file.seek(middle));
    QCOMPARE(file.write(noise), qint64(noise.size()));
}

} // namespace

class TestBookFaults : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setPath(Alias, QString()); }

    void missingPartsNameTheFileAndWhatToDo_data();
    void missingPartsNameTheFileAndWhatToDo();
    void fullDiskTellsEverySaveAlike();
    void startOnAFullDiskBlamesTheFullDisk();
    void quickCheckFindsDamageAndChangesNothing();
    void backgroundCheckTellsDamageOnce();
};

void TestBookFaults::missingPartsNameTheFileAndWhatToDo_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("detail");
    QTest::newRow("table") << "DROP TABLE Customer" << "Table 'Customer' does not exist";
    QTest::newRow("column") << "ALTER TABLE Product DROP COLUMN PriceC"
                            << "Field 'PriceC' not found";
}

void TestBookFaults::missingPartsNameTheFileAndWhatToDo()
{
    if (test::TestDatabase::onServer())
        QSKIP("a file's message");
    QFETCH(QString, statement);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.db"));
    makeBook(path, 1);
    Database::setPath(Alias, path);
    Database::exec(Database::connection(), statement);
    Database::closeAll();
    const QByteArray before = contents(path);
    Database::setPath(Alias, path);
    const QString message = errorOf([] { Database::connection(); });
    QCOMPARE(message.section(QLatin1Char('\n'), 1), detail);
    QVERIFY2(firstLine(message).contains(path), qPrintable(message));
    QVERIFY2(firstLine(message).contains(QStringLiteral("請確認資料庫檔案的路徑,或從備份還原")),
             qPrintable(message));
    Database::closeAll();
    QCOMPARE(contents(path), before);
}

// A quotation of twenty lines reaches the file only at its commit; a product's save at its
// statement. Either way the user reads the same sentence, naming the file.
void TestBookFaults::fullDiskTellsEverySaveAlike()
{
    if (test::TestDatabase::onServer())
        QSKIP("a file's disk");
    SmallDisk disk(QStringLiteral("2m"));
    if (!disk.mounted())
        QSKIP("needs root to mount a small disk");
    const QString path = disk.filePath(QStringLiteral("book.db"));
    makeBook(path, 1);
    Database::setPath(Alias, path);
    const QSqlDatabase db = Database::connection();
    disk.fill();
    const QString quotation = errorOf([&] {
        Transaction transaction(db);
        Database::exec(db, QStringLiteral("INSERT INTO QuoteMaster (QuoteID, CustomerID) "
                                          "VALUES ('OD26120001', 'CU000001')"));
        for (int line = 1; line <= 20; ++line)
            Database::exec(db,
                           QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, "
                                          "ProductID, Quantity, Price, Memo) "
                                          "VALUES ('OD26120001', ?, ?, 'PR000001', 1, 1, ?)"),
                           {QStringLiteral("%1").arg(line, 3, 10, QLatin1Char('0')),
                            QStringLiteral("%1").arg(line, 3, 10, QLatin1Char('0')),
                            QStringLiteral("說明").repeated(100)});
        transaction.commit();
    });
    QCOMPARE(firstLine(quotation), fullSentence(path));
    const QString product = errorOf([&] {
        Database::exec(db, QStringLiteral("UPDATE Product SET ProductName = ?"),
                       {QStringLiteral("長名稱").repeated(3000)});
    });
    QCOMPARE(firstLine(product), fullSentence(path));
    QFile::remove(disk.filePath(QStringLiteral("filler")));
    Database::exec(db, QStringLiteral("UPDATE Product SET ProductName = '地板'"));
    Database::closeAll();
}

void TestBookFaults::startOnAFullDiskBlamesTheFullDisk()
{
    if (test::TestDatabase::onServer())
        QSKIP("a file's disk");
    SmallDisk disk(QStringLiteral("2m"));
    if (!disk.mounted())
        QSKIP("needs root to mount a small disk");
    const QString path = disk.filePath(QStringLiteral("book.db"));
    makeBook(path, 1);
    disk.fill();
    Database::setPath(Alias, path);
    const QSqlDatabase db = Database::connection(); // opens for viewing: the data shows
    QSqlQuery shown = Database::exec(db, QStringLiteral("SELECT count(*) FROM Product"));
    QVERIFY(shown.next());
    QCOMPARE(shown.value(0).toInt(), 1);
    shown.finish();
    const QString refused = errorOf([&] {
        Transaction transaction(db);
        Database::exec(db, QStringLiteral("UPDATE Product SET ProductName = '地板'"));
        transaction.commit();
    });
    QCOMPARE(firstLine(refused), fullSentence(path));
    Database::closeAll();
}

void TestBookFaults::quickCheckFindsDamageAndChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.db"));
    makeBook(path, 3000);
    QCOMPARE(BookCheck().run(path).outcome, BookCheck::Outcome::Sound);
    damageMiddle(path);
    const QByteArray damaged = contents(path);
    BookCheck check;
    const BookCheck::Result result = check.run(path);
    QCOMPARE(result.outcome, BookCheck::Outcome::Damaged);
    QVERIFY2(firstLine(result.message).contains(path), qPrintable(result.message));
    QVERIFY2(firstLine(result.message).contains(QStringLiteral("從備份還原")),
             qPrintable(result.message));
    QVERIFY2(!result.message.section(QLatin1Char('\n'), 1).trimmed().isEmpty(),
             qPrintable(result.message));
    QCOMPARE(contents(path), damaged);
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));

    BookCheck stopped;
    stopped.interrupt(); // before it runs: the application is closing
    QCOMPARE(stopped.run(path).outcome, BookCheck::Outcome::NotChecked);

    const QString missing = dir.filePath(QStringLiteral("none.db"));
    QCOMPARE(BookCheck().run(missing).outcome, BookCheck::Outcome::NotChecked);
    QVERIFY(!QFile::exists(missing));
}

void TestBookFaults::backgroundCheckTellsDamageOnce()
{
    QTemporaryDir dir;
    const QString sound = dir.filePath(QStringLiteral("sound.db"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.db"));
    makeBook(sound, 3000);
    QVERIFY(QFile::copy(sound, damaged));
    damageMiddle(damaged);
    for (const QString &path : {sound, damaged}) {
        BackgroundBookCheck check;
        QSignalSpy told(&check, &BackgroundBookCheck::damaged);
        QSignalSpy finished(&check, &BackgroundBookCheck::finished);
        check.start(path);
        check.start(path); // once per object
        QVERIFY(finished.wait(20000));
        QCoreApplication::processEvents();
        QCOMPARE(told.count(), path == damaged ? 1 : 0);
        QCOMPARE(finished.count(), 1);
    }
}

QTEST_GUILESS_MAIN(TestBookFaults)
#include "tst_data_bookfaults.moc"
