// The quotation's number rules and its totals, without a window: monthly quotation numbers,
// line numbers and the 5 % tax with its rounding.
#include "data/book/errors.h"
#include "sales/quotenumbers.h"
#include "sales/quotetotals.h"
#include "testsupport/datasetprobe.h"

#include <QtTest>

using namespace tb;
using tb::test::errorOf;

class TestQuoteNumbers : public QObject
{
    Q_OBJECT
private slots:
    void monthPrefix_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("May 2024") << QDate(2024, 5, 17) << "OD2405";
        QTest::newRow("last day of a year") << QDate(2024, 12, 31) << "OD2412";
        QTest::newRow("first day of the next") << QDate(2025, 1, 1) << "OD2501";
        QTest::newRow("year 2000") << QDate(2000, 3, 1) << "OD0003";
    }
    void monthPrefix()
    {
        QFETCH(QDate, date);
        QFETCH(QString, prefix);
        QCOMPARE(quotenumbers::monthPrefix(date), prefix);
    }

    void nextQuoteId_data()
    {
        QTest::addColumn<QString>("highest");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("error");
        const QString usedUp = quotenumbers::MonthUsedUpMessage;
        QTest::newRow("first of the month") << "" << "OD24050001" << "";
        QTest::newRow("after 9") << "OD24050009" << "OD24050010" << "";
        QTest::newRow("gaps stay") << "OD24050005" << "OD24050006" << "";
        QTest::newRow("the last one") << "OD24059998" << "OD24059999" << "";
        QTest::newRow("used up") << "OD24059999" << "" << usedUp;
        QTest::newRow("not a number")
            << "OD24050A01" << ""
            << "'0A01' is not a valid integer value for field 'QuoteID'";
    }
    void nextQuoteId()
    {
        QFETCH(QString, highest);
        QFETCH(QString, next);
        QFETCH(QString, error);
        QString result;
        QCOMPARE(errorOf([&] { result = quotenumbers::nextQuoteId("OD2405", highest); }),
                 error);
        QCOMPARE(result, next);
    }

    void nextLineNumber_data()
    {
        QTest::addColumn<QString>("highest");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("error");
        QTest::newRow("first line") << "" << "001" << "";
        QTest::newRow("second") << "001" << "002" << "";
        QTest::newRow("tenth") << "009" << "010" << "";
        QTest::newRow("999th") << "998" << "999" << "";
        QTest::newRow("1000th refused") << "999" << "" << quotenumbers::LinesUsedUpMessage;
        QTest::newRow("not a number")
            << "abc" << "" << "'abc' is not a valid integer value for field 'SEQ'";
        QTest::newRow("blanks")
            << "  " << "" << "'  ' is not a valid integer value for field 'SEQ'";
    }
    void nextLineNumber()
    {
        QFETCH(QString, highest);
        QFETCH(QString, next);
        QFETCH(QString, error);
        QString result;
        QCOMPARE(errorOf([&] { result = quotenumbers::nextLineNumber(highest, "SEQ"); }),
                 error);
        QCOMPARE(result, next);
    }

    void totals_data()
    {
        QTest::addColumn<double>("sum");
        QTest::addColumn<qint64>("tax");
        QTest::addColumn<qint64>("amount");
        // Exactly halfway goes to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
        QTest::newRow("10") << 10.0 << qint64(0) << qint64(10);
        QTest::newRow("30") << 30.0 << qint64(2) << qint64(32);
        QTest::newRow("50") << 50.0 << qint64(2) << qint64(52);
        QTest::newRow("70") << 70.0 << qint64(4) << qint64(74);
        QTest::newRow("110") << 110.0 << qint64(6) << qint64(116);
        QTest::newRow("1,000") << 1000.0 << qint64(50) << qint64(1050);
        QTest::newRow("1,050") << 1050.0 << qint64(52) << qint64(1102);
        QTest::newRow("3,499") << 3499.0 << qint64(175) << qint64(3674);
        QTest::newRow("none") << 0.0 << qint64(0) << qint64(0);
        QTest::newRow("credit") << -30.0 << qint64(-2) << qint64(-32);
        QTest::newRow("999 lines at the top")
            << 999.0 * 2147483647.0 << qint64(107266808168) << qint64(2252602971521);
    }
    void totals()
    {
        QFETCH(double, sum);
        QFETCH(qint64, tax);
        QFETCH(qint64, amount);
        const QuoteTotals totals = QuoteTotals::fromSum(sum);
        QCOMPARE(totals.subTotal, qint64(sum));
        QCOMPARE(totals.tax, tax);
        QCOMPARE(totals.amount, amount);
        QCOMPARE(totals.amount, totals.subTotal + totals.tax);
    }
};

QTEST_GUILESS_MAIN(TestQuoteNumbers)
#include "tst_quotenumbers.moc"
