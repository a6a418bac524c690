#include "data/book/errors.h"
#include "maintenance/nextid.h"

#include <QTest>

using namespace tb;

class TestNextId : public QObject
{
    Q_OBJECT
private slots:
    void next_data();
    void next();
    void exhausted_data();
    void exhausted();
    void notANumber_data();
    void notANumber();
};

void TestNextId::next_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty product table") << "PR" << 6 << "" << "PR000001";
    QTest::newRow("empty unit table") << "UN" << 4 << "" << "UN0001";
    QTest::newRow("empty customer table") << "CU" << 6 << "" << "CU000001";
    QTest::newRow("product 41") << "PR" << 6 << "PR000041" << "PR000042";
    QTest::newRow("unit carry") << "UN" << 4 << "UN0009" << "UN0010";
    QTest::newRow("department second") << "DE" << 4 << "DE0001" << "DE0002";
    QTest::newRow("last free number") << "PR" << 6 << "PR999998" << "PR999999";
    QTest::newRow("unit last free") << "UN" << 4 << "UN9998" << "UN9999";
    QTest::newRow("all-zero stored") << "PR" << 6 << "PR000000" << "PR000001";
    // The prefix of the rule is used, whatever the stored one says.
    QTest::newRow("foreign prefix") << "TY" << 4 << "XX0007" << "TY0008";
    QTest::newRow("short number padded") << "EM" << 6 << "EM9" << "EM000010";
    QTest::newRow("plus sign") << "CO" << 4 << "CO+011" << "CO0012";
}

void TestNextId::next()
{
    QFETCH(QString, prefix);
    QFETCH(int, digits);
    QFETCH(QString, last);
    QFETCH(QString, expected);
    const auto id = nextIdentifier(last, {prefix, digits});
    QVERIFY(id.has_value());
    QCOMPARE(*id, expected);
}

void TestNextId::exhausted_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("last");

    QTest::newRow("PR999999") << "PR" << 6 << "PR999999";
    QTest::newRow("UN9999") << "UN" << 4 << "UN9999";
    // Longer numbers than the rule holds would be cut to used or all-zero identifiers.
    QTest::newRow("too long for four digits") << "UN" << 4 << "UN123456";
    QTest::newRow("would cut to zeros") << "UN" << 4 << "UN999999";
    QTest::newRow("negative") << "PR" << 6 << "PR-00005";
    QTest::newRow("minus one") << "PR" << 6 << "PR-00001";
}

void TestNextId::exhausted()
{
    QFETCH(QString, prefix);
    QFETCH(int, digits);
    QFETCH(QString, last);
    QVERIFY(!nextIdentifier(last, {prefix, digits}).has_value());
    QVERIFY(identifiersExhaustedMessage(last).contains(last));
}

void TestNextId::notANumber_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << "PRABC123" << "'ABC123' is not a valid integer value";
    QTest::newRow("prefix only") << "PR" << "'' is not a valid integer value";
    QTest::newRow("inner blank") << "PR00 041" << "'00 041' is not a valid integer value";
    QTest::newRow("sign only") << "PR-" << "'-' is not a valid integer value";
    QTest::newRow("full-width digits") << "PR０００１" << "'０００１' is not a valid integer value";
}

void TestNextId::notANumber()
{
    QFETCH(QString, last);
    QFETCH(QString, message);
    try {
        nextIdentifier(last, {"PR", 6});
        QFAIL("no conversion error");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.message(), message);
    }
}

QTEST_APPLESS_MAIN(TestNextId)
#include "tst_nextid.moc"
