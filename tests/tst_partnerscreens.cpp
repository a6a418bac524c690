// The customer and supplier screens: layout, the checks on save in each one's order, the
// business number checked on leaving its box, the E-mail box open while browsing.
#include "app/mainform.h"
#include "controls/windowframe.h"
#include "data/book/database.h"
#include "data/book/schema.h"
#include "data/records/tablecursor.h"
#include "maintenance/customer.h"
#include "maintenance/supplier.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::ScreenDriver;
using namespace tb::test;

namespace {

QString boxName(int n)
{
    return QStringLiteral("DBEdit%1").arg(n);
}

QStringList captionsOf(QWidget *screen, const QStringList &boxes)
{
    QStringList captions;
    for (const QString &box : boxes)
        for (QLabel *label : screen->findChildren<QLabel *>())
            if (label->buddy() && label->buddy()->objectName() == box)
                captions << label->text();
    return captions;
}

} // namespace

// The column "E-mail" as the database spells it.
QString email()
{
    return quoteName(Schema::sqlName(Database::connection(), QStringLiteral("E-mail")));
}

class TestPartnerScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data() { screens(); }
    void layout();
    void checksInOrder_data();
    void checksInOrder();
    void businessNumberOnLeaving_data();
    void businessNumberOnLeaving();
    void focusTrapLetsToolbarAct();
    void saveDoesNotCheckNumber();
    void emailWhileBrowsing();
    void rowChecksRefuseIsNotStored();

private:
    void screens();
    void open(const QString &name);
    ScreenDriver ui() const { return ScreenDriver(m_screen.get()); }

    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<PartnerScreen> m_screen;
};

void TestPartnerScreens::screens()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("customer") << "Customer";
    QTest::newRow("supplier") << "Supplier";
}

void TestPartnerScreens::initTestCase()
{
    main = new Tmain;
}

void TestPartnerScreens::init()
{
    m_db = std::make_unique<test::TestDatabase>();
}

void TestPartnerScreens::cleanup()
{
    m_screen.reset();
    main->hide();
    m_db.reset();
}

void TestPartnerScreens::open(const QString &name)
{
    if (name == QLatin1String("Customer"))
        m_screen.reset(new TCustomer);
    else
        m_screen.reset(new TSupplier);
    m_screen->show();
    QApplication::setActiveWindow(m_screen.get());
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
}

void TestPartnerScreens::layout()
{
    QFETCH(QString, name);
    open(name);
    const bool customer = name == QLatin1String("Customer");
    QCOMPARE(m_screen->windowTitle(), customer ? QString("客戶資料") : QString("供應商資料"));
    QCOMPARE(m_screen->frameGeometry().topLeft(),
             customer ? QPoint(200, 200) : QPoint(214, 282));
    QCOMPARE(m_screen->size(), QSize((customer ? 705 : 704) - FrameExtraWidth,
                                     456 - FrameExtraHeight));
    QCOMPARE(ui().control<QPushButton>("Button2")->text(), QStringLiteral("結束"));

    const QString first3 = customer ? "客戶編號 客戶簡稱 客戶名稱" : "廠商編號 廠商簡稱 廠商名稱";
    QCOMPARE(captionsOf(m_screen.get(), {"DBEdit1", "DBEdit2", "DBEdit3"}).join(' '), first3);
    for (int n = 1; n <= 12; ++n)
        QCOMPARE(ui().box(boxName(n))->isEnabled(), n == 12);

    QStringList order;
    for (QWidget *w = ui().box("DBEdit1")->nextInFocusChain(); order.size() < 12;
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    QCOMPARE(order.join(' '), QStringLiteral("DBEdit2 DBEdit3 DBEdit4 DBEdit5 DBEdit6 "
                                             "DBEdit7 DBEdit8 DBEdit9 DBEdit10 DBEdit11 "
                                             "Button2 DBEdit12"));

    ui().press("sbInsert");
    for (int n = 1; n <= 12; ++n)
        QVERIFY(ui().enabled(boxName(n)));
    QVERIFY(!ui().enabled("Button2"));
    ui().press("sbCancel");
    QVERIFY(ui().enabled("DBEdit12"));
}

void TestPartnerScreens::checksInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("fills"); // the box filled after each message
    // With name, business number and contact filled, the customer asks for the company
    // address and the supplier for a telephone. The mobile alone is enough.
    QTest::newRow("customer")
        << "Customer"
        << QStringList{"客戶名稱不可為空白!", "統一編號不可為空白!", "聯絡人不可為空白!",
                       "公司地址不可為空白!", "送貨地址不可為空白!", "電話或手機擇一填寫!"}
        << QList<int>{3, 4, 5, 9, 10, 7};
    QTest::newRow("supplier")
        << "Supplier"
        << QStringList{"廠商名稱不可為空白!", "聯絡人不可為空白!", "電話或手機擇一填寫!",
                       "公司地址不可為空白!", "送貨地址不可為空白!"}
        << QList<int>{3, 5, 7, 9, 10};
}

void TestPartnerScreens::checksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, fills);
    open(name);
    ui().press("sbInsert");
    const QString id = ui().text("DBEdit1");
    QCOMPARE(id, name == QLatin1String("Customer") ? "CU000001" : "SU000001");
    for (qsizetype i = 0; i < messages.size(); ++i) {
        {
            ModalAnswer answer(QMessageBox::Ok, 2);
            ui().press("sbPost");
            QCOMPARE(answer.seen(), 1);
            QCOMPARE(answer.text(), messages[i]);
            QCOMPARE(answer.icon(), QMessageBox::NoIcon);
        }
        QVERIFY(ui().enabled("sbPost"));
        QCOMPARE(m_db->count(name), 0);
        // A business number that passes only since the rule changed.
        ui().type(boxName(fills[i]), fills[i] == 4 ? QStringLiteral("04595252")
                                                   : QStringLiteral("台北%1").arg(fills[i]));
    }
    ModalAnswer none(QMessageBox::Ok);
    ui().press("sbPost");
    QCOMPARE(none.seen(), 0);
    QVERIFY(!ui().enabled("sbPost"));
    const QString idColumn = name + QStringLiteral("ID");
    const auto stored = [&](const char *column) {
        return m_db->scalar(QStringLiteral("SELECT coalesce(%1, '<null>') FROM %2 WHERE %3 = ?")
                                .arg(QLatin1String(column), name, idColumn), {id}).toString();
    };
    QCOMPARE(stored("CellPhone"), QStringLiteral("台北7"));
    QCOMPARE(stored("Tel"), QStringLiteral("<null>"));
    QCOMPARE(stored("EarNo"), name == QLatin1String("Customer") ? "04595252" : "<null>");
}

void TestPartnerScreens::businessNumberOnLeaving_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message"); // empty: passes
    const QString wrong = QStringLiteral("統一編號錯誤,請重新輸入!");
    const QString length = QStringLiteral("統一編號長度錯誤,請重新輸入!");
    QTest::newRow("seventh-digit rule") << "Customer" << "12345675" << "";
    QTest::newRow("new rule") << "Customer" << "10458570" << "";
    QTest::newRow("letter counts -1") << "Supplier" << "A0000001" << "";
    QTest::newRow("S = 42") << "Customer" << "12345678" << wrong;
    QTest::newRow("S = 14") << "Supplier" << "11111111" << wrong;
    QTest::newRow("seven digits") << "Customer" << "1234567" << length;
    QTest::newRow("empty") << "Supplier" << "" << length;
}

void TestPartnerScreens::businessNumberOnLeaving()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, message);
    open(name);
    ui().press("sbInsert");
    ui().type("DBEdit4", number);
    ModalAnswer answer(QMessageBox::Ok, 2);
    ui().tab();
    QTRY_COMPARE(ui().focused(), message.isEmpty() ? "DBEdit5" : "DBEdit4");
    QCOMPARE(answer.seen(), message.isEmpty() ? 0 : 1);
    QCOMPARE(answer.text(), message);
    QCOMPARE(m_screen->earNoPassed(), message.isEmpty());
    QCOMPARE(ui().text("DBEdit4"), message.isEmpty() ? number : QString());
}

void TestPartnerScreens::focusTrapLetsToolbarAct()
{
    open(QStringLiteral("Customer"));
    ui().press("sbInsert");
    ui().type("DBEdit4", QStringLiteral("12345678"));
    {
        ModalAnswer answer(QMessageBox::Ok, 3);
        QTest::mouseClick(ui().box("DBEdit5"), Qt::LeftButton);
        QTRY_COMPARE(ui().focused(), QStringLiteral("DBEdit4"));
        QCOMPARE(answer.text(), QStringLiteral("統一編號錯誤,請重新輸入!"));
        QVERIFY(ui().reactivate());
        QCOMPARE(QApplication::focusWidget(), ui().box("DBEdit4"));
        QTest::mouseClick(ui().box("DBEdit12"), Qt::LeftButton);
        QTRY_COMPARE(answer.seen(), 2);
        QCOMPARE(answer.text(1), QStringLiteral("統一編號長度錯誤,請重新輸入!"));
        QTRY_COMPARE(ui().focused(), QStringLiteral("DBEdit4"));
        QVERIFY(ui().reactivate());
    }
    ModalAnswer none(QMessageBox::Ok);
    ui().press("sbCancel");
    QCOMPARE(none.seen(), 0);
    QVERIFY(!ui().enabled("sbPost"));
    QVERIFY(m_screen->focusWidget() && m_screen->focusWidget()->isEnabled());
    QCOMPARE(m_db->count(QStringLiteral("Customer")), 0);
}

void TestPartnerScreens::saveDoesNotCheckNumber()
{
    open(QStringLiteral("Supplier"));
    ui().press("sbInsert");
    for (int n : {3, 5, 6, 9, 10})
        ui().type(boxName(n), QStringLiteral("x"));
    ui().type("DBEdit4", QStringLiteral("12345678"));
    ModalAnswer none(QMessageBox::Ok);
    ui().press("sbPost");
    QCOMPARE(none.seen(), 0);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT EarNo FROM Supplier")).toString(),
             QStringLiteral("12345678"));
    // The box lost the focus to being disabled, not to the user; it is not left on it.
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->isEnabled());
}

void TestPartnerScreens::emailWhileBrowsing()
{
    for (const char *id : {"CU000001", "CU000002"})
        m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerName, EarNo,"
                                  " JoinMan, Tel, CompanyAddress, DeliveryAddress)"
                                  " VALUES (?, 'n', '00000000', 'j', 't', 'a', 'd')"),
                   {QLatin1String(id)});
    open(QStringLiteral("Customer"));
    // Brought onto a row as the query screen does it.
    table1(m_screen.get())->Open();
    QVERIFY(table1(m_screen.get())
                ->Locate(QStringLiteral("CustomerID"), QStringLiteral("CU000001")));
    ui().type("DBEdit12", QStringLiteral("a@b.tw"));
    QCOMPARE(table1(m_screen.get())->State(), DataSetState::Edit);
    QVERIFY(!ui().enabled("sbPost"));
    ui().press("sbNext");
    QCOMPARE(ui().text("DBEdit1"), QStringLiteral("CU000001"));
    ui().press("sbEdit");
    QVERIFY(ui().enabled("sbPost"));
    QCOMPARE(ui().text("DBEdit12"), QStringLiteral("a@b.tw"));
    ui().press("sbPost");
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT %1 FROM Customer"
                                         " WHERE CustomerID = 'CU000001'").arg(email()))
                 .toString(),
             QStringLiteral("a@b.tw"));
}

void TestPartnerScreens::rowChecksRefuseIsNotStored()
{
    // A customer stored with its number only, as the screen once allowed.
    m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID) VALUES ('CU000041')"));
    open(QStringLiteral("Customer"));
    table1(m_screen.get())->Open();
    ui().type("DBEdit12", QStringLiteral("a@b.tw"));
    {
        // Insert moves to the last row first, which would post the E-mail unchecked.
        ModalAnswer answer(QMessageBox::Ok, 2);
        ui().press("sbInsert");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("客戶名稱不可為空白!"));
    }
    QCOMPARE(m_db->count(QStringLiteral("Customer")), 1);
    QVERIFY(m_db->scalar(QStringLiteral("SELECT %1 FROM Customer").arg(email())).isNull());
    QCOMPARE(table1(m_screen.get())->State(), DataSetState::Edit);
    // "修改" takes up the row being edited; "取消" drops the change.
    ui().press("sbEdit");
    ui().press("sbCancel");
    ui().press("sbInsert");
    QCOMPARE(ui().text("DBEdit1"), QStringLiteral("CU000042"));
}

QTEST_MAIN(TestPartnerScreens)
#include "tst_partnerscreens.moc"
