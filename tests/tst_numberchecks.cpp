// The business-number and national-ID rules, without any window.
#include "maintenance/numberchecks.h"

#include <QTest>

using namespace tb;

Q_DECLARE_METATYPE(tb::BusinessNumberVerdict)
Q_DECLARE_METATYPE(tb::NationalIdVerdict)

class TestNumberChecks : public QObject
{
    Q_OBJECT
private slots:
    void businessNumber_data();
    void businessNumber();
    void nationalId_data();
    void nationalId();
};

void TestNumberChecks::businessNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<BusinessNumberVerdict>("verdict");
    const auto passes = BusinessNumberVerdict::Passes;
    const auto wrong = BusinessNumberVerdict::Wrong;
    const auto length = BusinessNumberVerdict::WrongLength;

    QTest::newRow("all zero") << "00000000" << passes;
    QTest::newRow("S = 10") << "10000009" << passes;
    QTest::newRow("seventh digit 7, S - 9 = 30") << "12345675" << passes;
    QTest::newRow("S = 42") << "12345678" << wrong;
    QTest::newRow("S = 14") << "11111111" << wrong;
    QTest::newRow("seven digits") << "1234567" << length;
    QTest::newRow("nine digits") << "123456789" << length;
    QTest::newRow("empty") << "" << length;
    QTest::newRow("a letter counts -1") << "A0000001" << passes;
    QTest::newRow("letter at weight 2 counts -2") << "0A000002" << passes;
    // Divisible by 5 but not by 10: issued since the rule changed.
    QTest::newRow("new rule, S = 35") << "04595252" << passes;
    QTest::newRow("new rule, S = 25") << "10458570" << passes;
    QTest::newRow("S = 16") << "70000009" << wrong;
    // Seventh digit 7 (its 28 counts 10): S - 9 is tried too.
    QTest::newRow("seventh 7, S = 11") << "00000071" << wrong;
    QTest::newRow("seventh 7, S - 9 = 5") << "00000074" << passes;
    QTest::newRow("seventh 7, S = 12") << "00000072" << wrong;
    // A Chinese character is two bytes, neither of them a digit.
    QTest::newRow("Chinese, eight bytes") << "00000號0" << wrong;
    QTest::newRow("Chinese, nine bytes") << "0000000號" << length;
    QTest::newRow("full-width digits are no digits") << "００００" << wrong;
}

void TestNumberChecks::businessNumber()
{
    QFETCH(QString, number);
    QFETCH(BusinessNumberVerdict, verdict);
    QCOMPARE(checkBusinessNumber(number), verdict);
}

void TestNumberChecks::nationalId_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<NationalIdVerdict>("verdict");
    const auto passes = NationalIdVerdict::Passes;
    const auto content = NationalIdVerdict::WrongContent;

    QTest::newRow("A, sum 130") << "A123456789" << passes;
    QTest::newRow("lower-case letter") << "a123456789" << passes;
    QTest::newRow("sum 129") << "A123456788" << content;
    QTest::newRow("B, sum 139") << "B123456789" << content;
    QTest::newRow("nine characters") << "A12345678" << NationalIdVerdict::WrongLength;
    QTest::newRow("eleven characters") << "A1234567890" << NationalIdVerdict::WrongLength;
    QTest::newRow("empty") << "" << NationalIdVerdict::WrongLength;
    QTest::newRow("digit first") << "1123456789" << NationalIdVerdict::FirstNotLetter;
    QTest::newRow("letter last") << "A12345678X" << NationalIdVerdict::NotDigits;
    QTest::newRow("letter second") << "AB23456789" << NationalIdVerdict::NotDigits;
    // The letters out of alphabetical order: I 34, O 35, W 32, Z 33.
    QTest::newRow("I 34") << "I100000003" << passes;
    QTest::newRow("O 35") << "O100000004" << passes;
    QTest::newRow("W 32") << "W100000001" << passes;
    QTest::newRow("Z 33") << "Z100000002" << passes;
    QTest::newRow("any second digit") << "A923456785" << passes;
    QTest::newRow("Chinese first, ten bytes") << "號23456789" << NationalIdVerdict::FirstNotLetter;
    QTest::newRow("Chinese last, ten bytes") << "A1234567號" << NationalIdVerdict::NotDigits;
}

void TestNumberChecks::nationalId()
{
    QFETCH(QString, number);
    QFETCH(NationalIdVerdict, verdict);
    QCOMPARE(checkNationalId(number), verdict);
}

QTEST_APPLESS_MAIN(TestNumberChecks)
#include "tst_numberchecks.moc"
