// The quotation's rules driven through its session alone, without a window: numbers,
// line defaults and amounts, item numbers, totals and tax, the move to a free number, the
// one-transaction save and its rollback, cancel and delete.
#include "data/book/clock.h"
#include "data/book/errors.h"
#include "data/book/shortdate.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "sales/quotenumbers.h"
#include "sales/quotesession.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/testdatabase.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tb;

namespace {

using Check = QuoteSession::Check;

QString value(DataSet *set, const char *name)
{
    return set->FieldByName(QLatin1String(name))->AsString();
}

void setValue(DataSet *set, const char *name, const QString &text)
{
    set->FieldByName(QLatin1String(name))->setAsString(text);
}

} // namespace

class TestQuoteSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void numbersFollowTheMonth_data();
    void numbersFollowTheMonth();
    void monthUsedUpLeavesNoHeader();
    void newLinesNumberedPricedAndTotalled();
    void unknownProductToldAndRefusedAtSave();
    void deletedLineRenumbersTheRest();
    void totalsOutOfRangeRefusedWhole();
    void savesChecksTheCustomer_data();
    void savesChecksTheCustomer();
    void takenNumberMovesWithItsLines();
    void failedSaveLeavesEverythingAsBefore();
    void cancelDropsPendingLines();
    void deleteRefusedWhileChangedElseTakesTheLines();

private:
    // A new quotation for a known customer with the lines "product:quantity:price".
    void newQuotationWith(const QStringList &lines);
    QString storedLines(const QString &quoteId) const;

    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<QuoteSession> m_session;
};

void TestQuoteSession::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    ShortDate::resetToSystem();
    Clock::setToday(QDate(2024, 5, 17));
    m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerAttribName) VALUES "
                              "('CU000001', '大華')"));
    m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) VALUES "
                              "('PR000001', '磁磚'), ('PR000002', '地板'), ('PR000003', '油漆')"));
    m_session = std::make_unique<QuoteSession>();
    m_session->open();
}

void TestQuoteSession::cleanup()
{
    m_session.reset();
    m_db.reset();
    Clock::setToday(QDate());
    ShortDate::resetToSystem();
}

void TestQuoteSession::newQuotationWith(const QStringList &lines)
{
    m_session->newQuotation();
    setValue(m_session->header(), "CustomerID", QStringLiteral("CU000001"));
    for (const QString &line : lines) {
        const QStringList v = line.split(QLatin1Char(':'));
        m_session->addLine();
        m_session->setLineProduct(v[0], QString());
        m_session->setLineQuantity(v[1].toLongLong());
        m_session->setLinePrice(v[2].toLongLong());
        m_session->postLine();
    }
}

QString TestQuoteSession::storedLines(const QString &quoteId) const
{
    return m_db->scalar(QStringLiteral("SELECT group_concat(SEQ || '/' || QdetailID || '/' || "
                                       "ProductID || '*' || Quantity) FROM (SELECT * FROM "
                                       "QuoteDetail WHERE QuoteID = ? ORDER BY SEQ) t"),
                        {quoteId})
        .toString();
}

void TestQuoteSession::numbersFollowTheMonth_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("next");
    const QDate may(2024, 5, 17);
    QTest::newRow("first of the month") << QStringList{} << may << "OD24050001";
    QTest::newRow("other months never count")
        << QStringList{"OD24040007", "OD24060003", "OD23050004"} << may << "OD24050001";
    QTest::newRow("after nine") << QStringList{"OD24050009"} << may << "OD24050010";
    QTest::newRow("gaps stay") << QStringList{"OD24050001", "OD24050005"} << may
                               << "OD24050006";
    QTest::newRow("a new year starts again")
        << QStringList{"OD24120004"} << QDate(2025, 1, 1) << "OD25010001";
}

void TestQuoteSession::numbersFollowTheMonth()
{
    QFETCH(QStringList, stored);
    QFETCH(QDate, today);
    QFETCH(QString, next);
    for (const QString &id : stored)
        m_db->seedQuote(id);
    Clock::setToday(today);
    m_session->refresh();
    QSignalSpy editing(m_session.get(), &QuoteSession::editingChanged);
    m_session->newQuotation();
    QCOMPARE(m_session->quoteId(), next);
    QCOMPARE(m_session->header()->State(), DataSetState::Insert);
    QVERIFY(m_session->isEditing());
    QCOMPARE(editing.count(), 1);
    QCOMPARE(m_session->header()->FieldByName("QuoteDate")->AsDateTime().date(), today);
    for (const char *money : {"SubTotal", "ValueAddTax", "Amount"})
        QCOMPARE(value(m_session->header(), money), QStringLiteral("0"));
}

void TestQuoteSession::monthUsedUpLeavesNoHeader()
{
    m_db->seedQuote(QStringLiteral("OD24059999"));
    m_session->refresh();
    QCOMPARE(test::errorOf([&] { m_session->newQuotation(); }),
             quotenumbers::MonthUsedUpMessage);
    QCOMPARE(m_session->header()->State(), DataSetState::Browse);
    QVERIFY(!m_session->isEditing());
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24059999"));
}

void TestQuoteSession::newLinesNumberedPricedAndTotalled()
{
    m_session->newQuotation();
    QSignalSpy totals(m_session.get(), &QuoteSession::totalsChanged);
    TableCursor *lines = m_session->lines();
    m_session->addLine();
    for (const char *zero : {"Quantity", "Price", "Amount"})
        QCOMPARE(value(lines, zero), QStringLiteral("0"));
    m_session->setLineProduct(QStringLiteral("PR000001"), QStringLiteral("磁磚"));
    m_session->setLineQuantity(3);
    m_session->setLinePrice(250);
    QCOMPARE(value(lines, "Amount"), QStringLiteral("750"));
    QCOMPARE(value(lines, "SEQ"), QString()); // numbered when posted
    QCOMPARE(totals.count(), 0);
    m_session->postLine();
    QCOMPARE(value(lines, "SEQ"), QStringLiteral("001"));
    QCOMPARE(totals.count(), 1);
    // 750 and 37.5 of tax: the half goes to the even neighbour.
    TableCursor *header = m_session->header();
    QCOMPARE(value(header, "SubTotal") + '/' + value(header, "ValueAddTax") + '/'
                 + value(header, "Amount"),
             QStringLiteral("750/38/788"));

    m_session->addLine();
    m_session->setLineProduct(QStringLiteral("PR000002"), QString());
    m_session->setLineQuantity(1);
    m_session->setLinePrice(10);
    m_session->postLine();
    QCOMPARE(test::walk(*lines, "SEQ"), (QStringList{"001", "002"}));
    QCOMPARE(test::walk(*lines, "QdetailID"), (QStringList{"001", "002"}));
    QCOMPARE(value(header, "SubTotal") + '/' + value(header, "ValueAddTax") + '/'
                 + value(header, "Amount"),
             QStringLiteral("760/38/798"));
    QCOMPARE(m_db->count("QuoteDetail"), 0); // pending until saved
}

void TestQuoteSession::unknownProductToldAndRefusedAtSave()
{
    m_session->newQuotation();
    setValue(m_session->header(), "CustomerID", QStringLiteral("CU000001"));
    QSignalSpy refused(m_session.get(), &QuoteSession::checkRefused);
    m_session->addLine();
    m_session->setLineProduct(QStringLiteral("PR999999"), QString());
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toString(), QuoteSession::ProductMissing);
    QCOMPARE(refused.at(0).at(1).value<Check>(), Check::Product);
    QCOMPARE(value(m_session->lines(), "ProductID"), QStringLiteral("PR999999")); // kept
    // Told again at the save, which stops without a word more and writes nothing.
    QVERIFY_THROWS_EXCEPTION(SilentAbort, m_session->save());
    QCOMPARE(refused.count(), 2);
    QVERIFY(m_session->isEditing());
    QCOMPARE(m_db->count("QuoteMaster"), 0);
}

void TestQuoteSession::deletedLineRenumbersTheRest()
{
    m_db->seedQuote(QStringLiteral("OD24050001"),
                    {"001:001:PR000001:1:100", "002:002:PR000002:2:100", "003:003:PR000003:3:100"});
    m_session->refresh();
    m_session->edit();
    TableCursor *lines = m_session->lines();
    QVERIFY(lines->Locate(QStringLiteral("SEQ"), QStringLiteral("002")));
    QSignalSpy totals(m_session.get(), &QuoteSession::totalsChanged);
    m_session->deleteLine();
    QCOMPARE(totals.count(), 1); // once, not once per renumbered line
    QCOMPARE(test::walk(*lines, "QdetailID"), (QStringList{"001", "002"}));
    QCOMPARE(test::walk(*lines, "SEQ"), (QStringList{"001", "003"}));
    QCOMPARE(value(m_session->header(), "SubTotal"), QStringLiteral("400"));
    QCOMPARE(m_session->save(), QuoteSession::SaveResult::Saved);
    QCOMPARE(storedLines(QStringLiteral("OD24050001")),
             QStringLiteral("001/001/PR000001*1,003/002/PR000003*3"));
}

void TestQuoteSession::totalsOutOfRangeRefusedWhole()
{
    newQuotationWith({"PR000001:1:2000000000"});
    m_session->addLine();
    m_session->setLineProduct(QStringLiteral("PR000002"), QString());
    m_session->setLineQuantity(1);
    m_session->setLinePrice(2000000000);
    const QString error = test::errorOf([&] { m_session->postLine(); });
    QVERIFY2(error.contains(QLatin1String("SubTotal")), qPrintable(error));
    TableCursor *header = m_session->header();
    QCOMPARE(value(header, "SubTotal") + '/' + value(header, "ValueAddTax") + '/'
                 + value(header, "Amount"),
             QStringLiteral("2000000000/100000000/2100000000"));
    QVERIFY(!test::errorOf([&] { m_session->save(); }).isEmpty());
    QVERIFY(m_session->isEditing());
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
}

void TestQuoteSession::savesChecksTheCustomer_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << QString() << QuoteSession::CustomerBlank;
    QTest::newRow("blanks") << QStringLiteral("   ") << QuoteSession::CustomerBlank;
    QTest::newRow("unknown") << QStringLiteral("CU999999") << QuoteSession::CustomerWrong;
    QTest::newRow("trailing blank") << QStringLiteral("CU00001 ") << QuoteSession::CustomerWrong;
}

void TestQuoteSession::savesChecksTheCustomer()
{
    QFETCH(QString, customer);
    QFETCH(QString, message);
    newQuotationWith({"PR000001:1:10"});
    setValue(m_session->header(), "CustomerID", customer);
    QSignalSpy refused(m_session.get(), &QuoteSession::checkRefused);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, m_session->save());
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toString(), message);
    QCOMPARE(refused.at(0).at(1).value<Check>(), Check::Customer);
    QCOMPARE(m_session->header()->State(), DataSetState::Insert);
    QCOMPARE(m_db->count("QuoteMaster"), 0);
}

void TestQuoteSession::takenNumberMovesWithItsLines()
{
    newQuotationWith({"PR000001:1:100", "PR000002:2:100"});
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050001"));
    // Meanwhile another copy of the application saves the same number.
    m_db->seedQuote(QStringLiteral("OD24050001"), {"001:001:PR000003:9:9"});
    QSignalSpy moved(m_session.get(), &QuoteSession::numberMoved);
    QCOMPARE(m_session->save(), QuoteSession::SaveResult::Saved);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toString(), QStringLiteral("OD24050001"));
    QCOMPARE(moved.at(0).at(1).toString(), QStringLiteral("OD24050002"));
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050002"));
    QCOMPARE(storedLines(QStringLiteral("OD24050002")),
             QStringLiteral("001/001/PR000001*1,002/002/PR000002*2"));
    QCOMPARE(storedLines(QStringLiteral("OD24050001")), QStringLiteral("001/001/PR000003*9"));
    QCOMPARE(m_db->scalar("SELECT SubTotal FROM QuoteMaster WHERE QuoteID = 'OD24050002'")
                 .toInt(), 300);
}

void TestQuoteSession::failedSaveLeavesEverythingAsBefore()
{
    m_db->refuse("RefuseThird", "INSERT", "QuoteDetail",
                 "(SELECT count(*) FROM QuoteDetail WHERE QuoteID = NEW.QuoteID) >= 2",
                 "third line refused");
    newQuotationWith({"PR000001:1:100", "PR000002:2:100", "PR000003:3:100"});
    const QString error = test::errorOf([&] { m_session->save(); });
    QVERIFY2(error.contains(QLatin1String("third line refused")), qPrintable(error));
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
    QVERIFY(m_session->isEditing());
    QCOMPARE(m_session->header()->State(), DataSetState::Insert);
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050001"));
    QCOMPARE(value(m_session->header(), "SubTotal"), QStringLiteral("600"));
    QVERIFY(m_session->lines()->UpdatesPending());
    QCOMPARE(test::walk(*m_session->lines(), "SEQ"), (QStringList{"001", "002", "003"}));

    m_db->dropRefusal("RefuseThird", "QuoteDetail");
    QCOMPARE(m_session->save(), QuoteSession::SaveResult::Saved);
    QVERIFY(!m_session->isEditing());
    QCOMPARE(storedLines(QStringLiteral("OD24050001")),
             QStringLiteral("001/001/PR000001*1,002/002/PR000002*2,003/003/PR000003*3"));
}

void TestQuoteSession::cancelDropsPendingLines()
{
    m_db->seedQuote(QStringLiteral("OD24050001"), {"001:001:PR000001:1:100"});
    m_session->refresh();
    m_session->edit();
    m_session->setLineQuantity(7);
    m_session->postLine();
    newQuotationWith({}); // while editing: nothing new, the editing goes on
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050001"));
    QSignalSpy editing(m_session.get(), &QuoteSession::editingChanged);
    m_session->cancel();
    QCOMPARE(editing.count(), 1);
    QVERIFY(!m_session->isEditing());
    QVERIFY(!m_session->lines()->UpdatesPending());
    QCOMPARE(value(m_session->lines(), "Quantity"), QStringLiteral("1"));
    QCOMPARE(value(m_session->header(), "CustomerID"), QStringLiteral("CU000001"));
    QCOMPARE(m_db->scalar("SELECT Quantity FROM QuoteDetail").toInt(), 1);

    m_session->newQuotation();
    m_session->addLine();
    m_session->setLineProduct(QStringLiteral("PR000002"), QString());
    m_session->postLine();
    m_session->cancel();
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050001"));
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->count("QuoteDetail"), 1);
}

void TestQuoteSession::deleteRefusedWhileChangedElseTakesTheLines()
{
    m_db->seedQuote(QStringLiteral("OD24050001"), {"001:001:PR000001:1:100"});
    m_db->seedQuote(QStringLiteral("OD24050002"),
                    {"001:001:PR000001:1:100", "002:002:PR000002:2:1"});
    m_session->refresh();
    m_session->next();
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050002"));

    // A customer chosen while browsing puts the header into edit: no delete then.
    m_session->header()->Edit();
    setValue(m_session->header(), "Memo", QStringLiteral("changed"));
    QSignalSpy refused(m_session.get(), &QuoteSession::checkRefused);
    QVERIFY(!m_session->mayDelete());
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toString(), QuoteSession::DeleteWhileChanged);
    QCOMPARE(refused.at(0).at(1).value<Check>(), Check::Delete);
    m_session->header()->Cancel();

    // Only through the intention, which the caller has asked the user about.
    QVERIFY_THROWS_EXCEPTION(SilentAbort, m_session->header()->Delete());
    QCOMPARE(m_db->count("QuoteMaster"), 2);

    QVERIFY(m_session->mayDelete());
    m_session->deleteQuotation();
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(storedLines(QStringLiteral("OD24050002")), QString());
    QCOMPARE(m_db->count("QuoteDetail"), 1);
    QCOMPARE(m_session->quoteId(), QStringLiteral("OD24050001")); // the neighbour
    QVERIFY(!m_session->lines()->UpdatesPending());
}

QTEST_GUILESS_MAIN(TestQuoteSession)
#include "tst_quotesession.moc"
