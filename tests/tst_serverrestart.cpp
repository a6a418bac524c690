// A shared book whose server goes away while the screens are open: its sessions ended (as a
// broken network or an administrator ends them) or the server stopped and started again.
// At most the one action that met the outage is refused, with a sentence naming the server;
// the next save goes through without a restart, and 取消 always ends the editing.
//
// Runs against the throwaway cluster only (the _postgres variant, which ctest runs alone,
// since stopping the server would disturb the other programs' tests).
#include "app/mainform.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "lookup/productpicker.h"
#include "maintenance/product.h"
#include "sales/quote.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::ScreenDriver;
using tb::test::TestDatabase;

namespace {

// Ends every session of the book's database but the one it is ended from.
void endSessions(const QString &uri)
{
    const QString name = QStringLiteral("session ender");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const QUrl url(uri);
        admin.setHostName(QUrlQuery(url).queryItemValue(QStringLiteral("host")));
        admin.setUserName(url.userName());
        admin.setDatabaseName(url.path().mid(1));
        QVERIFY(admin.open());
        QSqlQuery ended(admin);
        QVERIFY2(ended.exec(QStringLiteral(
                     "SELECT count(*) FILTER (WHERE pg_terminate_backend(pid, 5000)) FROM "
                     "(SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                     "AND pid <> pg_backend_pid() OFFSET 0) others")),
                 qPrintable(ended.lastError().text()));
        QVERIFY(ended.next() && ended.value(0).toInt() > 0);
    }
    QSqlDatabase::removeDatabase(name);
}

// Stops (fast: every session is ended) or starts the test cluster's server.
void server(const char *action)
{
    const QString folder = QUrlQuery(QUrl(TestDatabase::serverUri()))
                               .queryItemValue(QStringLiteral("host"));
    QProcess script;
    script.start(QStringLiteral(PGCLUSTER_SCRIPT), {QLatin1String(action), folder});
    QVERIFY(script.waitForFinished(60000));
    QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
}

// The one refusal an outage may cost: a sentence naming the server first, the engine's
// text below it; never an empty box.
void checkOutageMessage(const ModalAnswer &answer)
{
    QVERIFY(answer.seen() <= 1);
    if (answer.seen() == 0)
        return;
    const QStringList lines = answer.text().split(QLatin1Char('\n'));
    QVERIFY2(lines.size() >= 2, qPrintable(answer.text()));
    QVERIFY2(lines[0].contains(QStringLiteral("連線")) && lines[0].contains(QStringLiteral("伺服器")),
             qPrintable(answer.text()));
    QVERIFY2(!lines[1].trimmed().isEmpty(), qPrintable(answer.text()));
}

} // namespace

class TestServerRestart : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void productSavedAfterTheSessionsEnded();
    void productSavedAfterTheServerRestarted();
    void cancelEndsEditingWhileTheServerIsDown();
    void quotationSavedAfterTheServerRestarted();

private:
    void editProductName(const QString &name);
    std::unique_ptr<TestDatabase> m_db;
};

void TestServerRestart::initTestCase()
{
    if (!TestDatabase::onServer())
        QSKIP("Only a server can go away and come back");
    main = new Tmain;
}

void TestServerRestart::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, TypeName, "
                              "UnitName, Stock, SafeStock, PriceA, PriceB, PriceC) VALUES "
                              "('PR000001', '磁磚', 'T', 'U', 5, 1, 100, 90, 80)"));
    m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerAttribName) VALUES "
                              "('CU000001', '大華')"));
    Product = new TProduct;
    Form28 = new TProductPicker;
    Quote = new TQuote;
}

void TestServerRestart::cleanup()
{
    delete Quote;
    Quote = nullptr;
    delete Form28;
    Form28 = nullptr;
    delete Product;
    Product = nullptr;
    m_db.reset();
}

// 修改, a new name typed over the old one; the screen is left in editing mode.
void TestServerRestart::editProductName(const QString &name)
{
    Product->show();
    QApplication::setActiveWindow(Product);
    QVERIFY(QTest::qWaitForWindowActive(Product));
    const ScreenDriver screen(Product);
    screen.press(QStringLiteral("sbEdit"));
    QLineEdit *box = screen.box(QStringLiteral("EditName"));
    box->setFocus();
    box->selectAll();
    ScreenDriver::typeInto(box, name);
}

void TestServerRestart::productSavedAfterTheSessionsEnded()
{
    const ScreenDriver screen(Product);
    editProductName(QStringLiteral("壁紙"));
    endSessions(m_db->path());
    {
        ModalAnswer answer(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        checkOutageMessage(answer);
    }
    if (Product->isEditingMode()) { // the save met the outage: the next one goes through
        QCOMPARE(screen.text(QStringLiteral("EditName")), QStringLiteral("壁紙"));
        ModalAnswer none(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        QCOMPARE(none.text(), QString());
    }
    QVERIFY(!Product->isEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
             QStringLiteral("壁紙"));

    // Browsing meets the next outage at most once, too.
    endSessions(m_db->path());
    {
        ModalAnswer answer(QMessageBox::Ok, 2);
        screen.press(QStringLiteral("sbEdit"));
        screen.press(QStringLiteral("sbCancel"));
        screen.press(QStringLiteral("sbEdit"));
        checkOutageMessage(answer);
    }
    QVERIFY(Product->isEditingMode());
    QCOMPARE(screen.text(QStringLiteral("EditName")), QStringLiteral("壁紙"));
}

void TestServerRestart::productSavedAfterTheServerRestarted()
{
    const ScreenDriver screen(Product);
    editProductName(QStringLiteral("地板"));
    server("down");
    server("up");
    {
        ModalAnswer answer(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        checkOutageMessage(answer);
    }
    if (Product->isEditingMode()) {
        ModalAnswer none(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        QCOMPARE(none.text(), QString());
    }
    QVERIFY(!Product->isEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
             QStringLiteral("地板"));
}

void TestServerRestart::cancelEndsEditingWhileTheServerIsDown()
{
    const ScreenDriver screen(Product);
    Product->show();
    QApplication::setActiveWindow(Product);
    QVERIFY(QTest::qWaitForWindowActive(Product));
    screen.press(QStringLiteral("sbInsert"));
    QVERIFY(Product->isEditingMode());
    server("down");
    {
        // Going back to the row it came from cannot read it now: told, never in an empty box,
        // and the editing still ends.
        ModalAnswer answer(QMessageBox::Ok);
        screen.press(QStringLiteral("sbCancel"));
        QVERIFY(answer.seen() <= 1);
        if (answer.seen() == 1)
            QVERIFY2(answer.text().startsWith(QStringLiteral("與")), qPrintable(answer.text()));
    }
    QVERIFY(!Product->isEditingMode());
    QVERIFY(screen.enabled(QStringLiteral("Button1")));

    Quote->show();
    QApplication::setActiveWindow(Quote);
    QVERIFY(QTest::qWaitForWindowActive(Quote));
    const ScreenDriver quote(Quote);
    {
        ModalAnswer answer(QMessageBox::Ok, 3);
        quote.press(QStringLiteral("sbInsert")); // cannot number a quotation now
        quote.press(QStringLiteral("sbCancel"));
        for (int i = 0; i < answer.seen(); ++i)
            QVERIFY2(answer.text(i).contains(QStringLiteral("伺服器")), qPrintable(answer.text(i)));
    }
    QVERIFY(!quote.enabled(QStringLiteral("sbCancel")));
    QVERIFY(quote.enabled(QStringLiteral("Button1")));
    server("up");

    // Back: the next action works without a restart.
    {
        ModalAnswer none(QMessageBox::Ok);
        screen.press(QStringLiteral("sbEdit"));
        QCOMPARE(none.text(), QString());
    }
    QVERIFY(Product->isEditingMode());
    QCOMPARE(screen.text(QStringLiteral("EditName")), QStringLiteral("磁磚"));
}

void TestServerRestart::quotationSavedAfterTheServerRestarted()
{
    Quote->show();
    QApplication::setActiveWindow(Quote);
    QVERIFY(QTest::qWaitForWindowActive(Quote));
    const ScreenDriver screen(Quote);
    screen.press(QStringLiteral("sbInsert"));
    const auto set = [](TableCursor *table, const char *field, const QVariant &value) {
        table->FieldByName(QLatin1String(field))->setAsVariant(value);
    };
    TableCursor *lines = Quote->session()->lines();
    set(Quote->session()->header(), "CustomerID", QStringLiteral("CU000001"));
    lines->Append();
    set(lines, "ProductID", QStringLiteral("PR000001"));
    set(lines, "Quantity", 3);
    set(lines, "Price", 120);
    server("down");
    server("up");
    {
        ModalAnswer answer(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        checkOutageMessage(answer);
    }
    if (screen.enabled(QStringLiteral("sbPost"))) { // refused once: the typed quotation stays
        QCOMPARE(lines->FieldByName(QStringLiteral("Quantity"))->AsInteger(), 3);
        ModalAnswer none(QMessageBox::Ok);
        screen.press(QStringLiteral("sbPost"));
        QCOMPARE(none.text(), QString());
    }
    QVERIFY(!screen.enabled(QStringLiteral("sbPost")));
    QCOMPARE(m_db->count(QStringLiteral("QuoteMaster")), 1);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT CustomerID || '/' || Amount FROM QuoteMaster"))
                 .toString(),
             QStringLiteral("CU000001/378"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductID || '/' || Quantity || '/' || Price "
                                         "FROM QuoteDetail")).toString(),
             QStringLiteral("PR000001/3/120"));
}

QTEST_MAIN(TestServerRestart)
#include "tst_serverrestart.moc"
