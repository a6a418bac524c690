// Saves under faults: a copy of the application killed at random moments while it saves
// products and quotations, and four copies saving on one file at once. Afterwards the file
// is sound, every header has all of its lines, no line is without its header, every save a
// copy reported done is there, once, and no number is given twice.

#include "data/book/database.h"
#include "testsupport/testdatabase.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

using namespace tb;

namespace {

constexpr int LinesPerQuotation = 20;

// The saves copies reported done: marker -> number.
struct Reported
{
    QHash<QString, QString> products;
    QHash<QString, QString> quotations;

    void read(const QByteArray &output)
    {
        for (const QByteArray &line : output.split('\n')) {
            const QList<QByteArray> words = line.trimmed().split(' ');
            if (words.size() != 3)
                continue;
            auto &into = words[0] == "product" ? products : quotations;
            if (words[0] == "product" || words[0] == "quotation")
                into.insert(QString::fromUtf8(words[1]), QString::fromUtf8(words[2]));
        }
    }
};

} // namespace

class TestSavesUnderFaults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_db;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TRADEBOOK_DATABASE"), m_db->path());
        return env;
    }

    void startCopy(QProcess &copy, const QString &worker, int count) const
    {
        copy.setProcessEnvironment(environment());
        copy.setProgram(QStringLiteral(SAVELOOP_PATH));
        copy.setArguments({worker, QString::number(count)});
        copy.start();
        QVERIFY(copy.waitForStarted());
    }

    QVariant scalar(const QString &sql) const { return m_db->scalar(sql); }

    // Everything the fault tests promise, checked on the file as it is now.
    void checkFile(const Reported &reported) const
    {
        QCOMPARE(scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QString("ok"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM QuoteMaster m WHERE (SELECT "
                                       "count(*) FROM QuoteDetail d WHERE d.QuoteID = "
                                       "m.QuoteID) <> %1").arg(LinesPerQuotation)).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM QuoteDetail d WHERE NOT EXISTS "
                                       "(SELECT 1 FROM QuoteMaster m WHERE m.QuoteID = "
                                       "d.QuoteID)")).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM (SELECT QuoteID, SEQ FROM "
                                       "QuoteDetail GROUP BY QuoteID, SEQ HAVING count(*) > 1)"))
                     .toInt(), 0);
        for (auto it = reported.products.cbegin(); it != reported.products.cend(); ++it)
            QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Product WHERE "
                                                 "ProductName = ?"), {it.key()}).toInt(), 1);
        for (auto it = reported.quotations.cbegin(); it != reported.quotations.cend(); ++it)
            QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM QuoteMaster WHERE "
                                                 "Memo = ?"), {it.key()}).toInt(), 1);
        // Nothing saved twice either: one row per marker, whoever saved it.
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) - count(DISTINCT ProductName) "
                                       "FROM Product")).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) - count(DISTINCT Memo) "
                                       "FROM QuoteMaster")).toInt(), 0);
    }

private slots:
    void init()
    {
        m_db = std::make_unique<test::TestDatabase>();
        m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerName) "
                                  "VALUES ('CU000001', 'seed')"));
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                                  "VALUES ('PR000001', 'seed')"));
        Database::closeAll(); // the copies have the file to themselves
    }

    void cleanup() { m_db.reset(); }

    void killedAtRandomMoments()
    {
        const int kills = qEnvironmentVariableIntValue("TRADEBOOK_CRASH_KILLS") > 0
            ? qEnvironmentVariableIntValue("TRADEBOOK_CRASH_KILLS") : 6;
        Reported reported;
        for (int k = 0; k < kills; ++k) {
            QProcess copy;
            startCopy(copy, QString::number(k), 0);
            QVERIFY(copy.waitForReadyRead(30000)); // "ready": start-up is behind it
            QTest::qWait(int(QRandomGenerator::global()->bounded(20, 400)));
            copy.kill();
            QVERIFY(copy.waitForFinished(10000));
            reported.read(copy.readAllStandardOutput());
            checkFile(reported);
            Database::closeAll();
        }
        qInfo("%d kills, %lld products and %lld quotations reported saved", kills,
              static_cast<long long>(reported.products.size()),
              static_cast<long long>(reported.quotations.size()));
    }

    void fourCopiesAtOnce()
    {
        constexpr int Copies = 4, Saves = 8;
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int c = 0; c < Copies; ++c) {
            copies.push_back(std::make_unique<QProcess>());
            startCopy(*copies.back(), QStringLiteral("c%1").arg(c), Saves);
        }
        Reported reported;
        for (auto &copy : copies) {
            QVERIFY(copy->waitForFinished(120000));
            QCOMPARE(copy->exitCode(), 0);
            reported.read(copy->readAllStandardOutput());
        }
        // Every save went through, none twice, none lost.
        QCOMPARE(reported.products.size(), Copies * Saves);
        QCOMPARE(reported.quotations.size(), Copies * Saves);
        checkFile(reported);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Product")).toInt(),
                 1 + Copies * Saves);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM QuoteMaster")).toInt(),
                 Copies * Saves);
    }
};

QTEST_GUILESS_MAIN(TestSavesUnderFaults)
#include "tst_savesunderfaults.moc"
