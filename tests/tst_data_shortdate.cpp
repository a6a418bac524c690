// The application's short date format under the formats real systems give it: what a date
// box shows must read back as the same date, and a two-digit year a user types must land
// in the right century.
#include "data/book/shortdate.h"

#include <QLocale>
#include <QtTest>

using namespace tb;

namespace {

// A fixed "today", so that the century window does not move under the tests.
const QDate Today(2026, 6, 15);

} // namespace

class TestShortDate : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void shownDatesReadBack_data();
    void shownDatesReadBack();
    void typedYears_data();
    void typedYears();
};

void TestShortDate::cleanup()
{
    ShortDate::resetToSystem();
}

void TestShortDate::shownDatesReadBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shown");

    const QDate birthday(1950, 3, 4);
    const QDate recent(2024, 1, 5);
    QTest::newRow("C birthday") << "C" << birthday << "4 Mar 1950";
    QTest::newRow("C recent") << "C" << recent << "5 Jan 2024";
    QTest::newRow("en_US birthday") << "en_US" << birthday << "3/4/1950";
    QTest::newRow("en_US recent") << "en_US" << recent << "1/5/2024";
    QTest::newRow("de_DE birthday") << "de_DE" << birthday << "04.03.1950";
    QTest::newRow("de_DE recent") << "de_DE" << recent << "05.01.2024";
    QTest::newRow("zh_TW birthday") << "zh_TW" << birthday << "1950/3/4";
    QTest::newRow("zh_TW recent") << "zh_TW" << recent << "2024/1/5";
}

void TestShortDate::shownDatesReadBack()
{
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(QString, shown);

    ShortDate::useLocale(QLocale(locale));
    QCOMPARE(ShortDate::parse(ShortDate::format(date), Today), date);
    QCOMPARE(ShortDate::format(date), shown);
    // Whatever "today" is, a date shown reads back unchanged.
    QCOMPARE(ShortDate::parse(ShortDate::format(date), QDate(2090, 1, 1)), date);
}

void TestShortDate::typedYears_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern"); // set after the locale when not empty
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("read");

    QTest::newRow("50 is 1950") << "en_US" << "" << "1/5/50" << QDate(1950, 1, 5);
    QTest::newRow("24 is 2024") << "en_US" << "" << "1/5/24" << QDate(2024, 1, 5);
    QTest::newRow("80 years back") << "en_US" << "" << "1/5/46" << QDate(1946, 1, 5);
    QTest::newRow("20 years on") << "en_US" << "" << "1/5/45" << QDate(2045, 1, 5);
    QTest::newRow("leap day of 2000") << "en_US" << "" << "2/29/00" << QDate(2000, 2, 29);
    QTest::newRow("no leap day") << "en_US" << "" << "2/29/25" << QDate();
    QTest::newRow("four digits kept") << "en_US" << "" << "1/5/1924" << QDate(1924, 1, 5);
    QTest::newRow("year 24 kept") << "en_US" << "" << "1/5/0024" << QDate(24, 1, 5);
    QTest::newRow("three digits") << "en_US" << "" << "1/5/024" << QDate();
    QTest::newRow("de two digits") << "de_DE" << "" << "05.01.24" << QDate(2024, 1, 5);
    QTest::newRow("de ISO") << "de_DE" << "" << "2024-01-05" << QDate(2024, 1, 5);
    QTest::newRow("de slashes") << "de_DE" << "" << "2024/01/05" << QDate(2024, 1, 5);
    QTest::newRow("zh two digits") << "zh_TW" << "" << "50/3/4" << QDate(1950, 3, 4);
    QTest::newRow("C two digits") << "C" << "" << "5 Jan 24" << QDate(2024, 1, 5);
    QTest::newRow("quotation format") << "en_US" << "yyyy/mm/dd" << "24/01/05"
                                      << QDate(2024, 1, 5);
    QTest::newRow("not a date") << "en_US" << "" << "1/5/x" << QDate();
}

void TestShortDate::typedYears()
{
    QFETCH(QString, locale);
    QFETCH(QString, pattern);
    QFETCH(QString, typed);
    QFETCH(QDate, read);

    ShortDate::useLocale(QLocale(locale));
    if (!pattern.isEmpty())
        ShortDate::setPattern(pattern);
    QCOMPARE(ShortDate::parse(typed, Today), read);
}

QTEST_GUILESS_MAIN(TestShortDate)
#include "tst_data_shortdate.moc"
