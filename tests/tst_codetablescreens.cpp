// The five code-table screens: layout, numbering, the name check, the memo.
#include "app/mainform.h"
#include "controls/windowframe.h"
#include "data/records/tablecursor.h"
#include "maintenance/codetables.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>
#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::ScreenDriver;
using namespace tb::test;

namespace {

struct Screen
{
    std::function<RecordScreen *()> make;
    QString table, idColumn, nameColumn;
    QString caption, nameCaption, memoCaption;
    int nameWidth;
    QString closeButton, message;
};

const Screen &screen(const QString &name)
{
    static const QMap<QString, Screen> screens{
        {"punit", {[] { return new Tpunit; }, "Unit", "UnitID", "UnitName", "產品單位設定",
                   "單位名稱", "說明", 264, "Button1", "單位名稱不可為空白!"}},
        {"ProductType", {[] { return new TProductType; }, "ProductType", "TypeID", "TypeName",
                         "商品類別設定", "類別名稱", "", 264, "Button2",
                         "類別名稱不可為空白!"}},
        {"Pcolor", {[] { return new TPcolor; }, "Color", "ColorID", "ColorName",
                    "產品顏色設定", "顏色名稱", "", 137, "Button1",
                    "顏色名稱不可為空白!"}},
        {"department", {[] { return new Tdepartment; }, "Department", "DepartmentID",
                        "DepartmentName", "員工部門設定", "部門名稱", "", 264,
                        "Button2", "部門名稱不可為空白!"}},
        {"Duty", {[] { return new TDuty; }, "Duty", "DutyID", "DutyName", "員工職務設定",
                  "職務名稱", "備註", 264, "Button1", "職務名稱不可為空白!"}},
    };
    Q_ASSERT(screens.contains(name));
    return *screens.constFind(name);
}

QString buddyCaption(QWidget *box)
{
    for (QLabel *label : box->window()->findChildren<QLabel *>())
        if (label->buddy() == box)
            return label->text();
    return {};
}

} // namespace

class TestCodeTableScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data() { screens(); }
    void layout();
    void numbering_data();
    void numbering();
    void nameRequired_data() { screens(); }
    void nameRequired();
    void memoStoredAndFocusKeptEnabled();

private:
    void screens();
    void open(const QString &name);

    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<RecordScreen> m_screen;
};

void TestCodeTableScreens::screens()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"punit", "ProductType", "Pcolor", "department", "Duty"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCodeTableScreens::initTestCase()
{
    main = new Tmain;
}

void TestCodeTableScreens::init()
{
    m_db = std::make_unique<test::TestDatabase>();
}

void TestCodeTableScreens::cleanup()
{
    m_screen.reset();
    main->hide();
    m_db.reset();
}

void TestCodeTableScreens::open(const QString &name)
{
    m_screen.reset(screen(name).make());
    m_screen->show();
    QApplication::setActiveWindow(m_screen.get());
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
}

void TestCodeTableScreens::layout()
{
    QFETCH(QString, name);
    const Screen &s = screen(name);
    open(name);
    ScreenDriver ui(m_screen.get());
    QCOMPARE(m_screen->windowTitle(), s.caption);
    QCOMPARE(m_screen->size(), QSize(570 - FrameExtraWidth, 182 - FrameExtraHeight));
    auto *close = ui.control<QPushButton>(s.closeButton);
    QCOMPARE(close->size(), QSize(50, 29));
    QVERIFY(close->x() > ui.control("sbRefresh")->x());
    QCOMPARE(ui.box("DBEdit1")->width(), 108);
    QCOMPARE(ui.box("DBEdit2")->width(), s.nameWidth);
    QCOMPARE(buddyCaption(ui.box("DBEdit2")), s.nameCaption);
    auto *memo = m_screen->findChild<QPlainTextEdit *>(QStringLiteral("DBMemo1"));
    QCOMPARE(memo != nullptr, !s.memoCaption.isEmpty());
    QList<QWidget *> editing{ui.box("DBEdit1"), ui.box("DBEdit2")};
    if (memo) {
        QCOMPARE(memo->size(), QSize(185, 89));
        QCOMPARE(buddyCaption(memo), s.memoCaption);
        editing << memo;
    }
    for (QWidget *w : editing)
        QVERIFY(!w->isEnabled());
    ui.press("sbEdit");
    for (QWidget *w : editing)
        QVERIFY(w->isEnabled());
    QVERIFY(ui.box("DBEdit1")->isReadOnly());
    QVERIFY(!close->isEnabled());
}

void TestCodeTableScreens::numbering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("last"); // stored before, or empty
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("unit, empty") << "punit" << "" << "UN0001" << "UN0002";
    QTest::newRow("unit after UN0009") << "punit" << "UN0009" << "UN0010" << "UN0011";
    QTest::newRow("type, empty") << "ProductType" << "" << "TY0001" << "TY0002";
    QTest::newRow("colour, empty") << "Pcolor" << "" << "CO0001" << "CO0002";
    QTest::newRow("department, empty") << "department" << "" << "DE0001" << "DE0002";
    QTest::newRow("duty, empty") << "Duty" << "" << "DU0001" << "DU0002";
    QTest::newRow("colour after CO0099") << "Pcolor" << "CO0099" << "CO0100" << "CO0101";
}

void TestCodeTableScreens::numbering()
{
    QFETCH(QString, name);
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const Screen &s = screen(name);
    const QString insert = QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, 'x')")
                               .arg(s.table, s.idColumn, s.nameColumn);
    if (!last.isEmpty())
        m_db->exec(insert, {last});
    open(name);
    ScreenDriver ui(m_screen.get());
    ui.press("sbInsert");
    QCOMPARE(ui.text("DBEdit1"), first);
    QCOMPARE(ui.text("DBEdit2"), QString());
    ui.type("DBEdit2", QStringLiteral("箱"));
    ui.press("sbPost");
    QVERIFY(!ui.enabled("sbPost"));
    QCOMPARE(ui.text("DBEdit1"), QString()); // the table is closed again
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                              .arg(s.nameColumn, s.table, s.idColumn), {first}).toString(),
             QStringLiteral("箱"));
    ui.press("sbInsert");
    QCOMPARE(ui.text("DBEdit1"), second);
    ui.press("sbCancel");
    QCOMPARE(m_db->count(s.table), last.isEmpty() ? 1 : 2);
}

void TestCodeTableScreens::nameRequired()
{
    QFETCH(QString, name);
    const Screen &s = screen(name);
    open(name);
    ScreenDriver ui(m_screen.get());
    ui.press("sbInsert");
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModalAnswer answer(QMessageBox::Ok, 2);
        ui.press("sbPost");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), s.message);
        QVERIFY(ui.enabled("sbPost") && ui.enabled("sbCancel") && ui.enabled("DBEdit2"));
        QCOMPARE(table1(m_screen.get())->State(), DataSetState::Insert);
        QCOMPARE(m_db->count(s.table), 0);
    }
    // A blank is a name; the memo may stay empty.
    ui.type("DBEdit2", QStringLiteral(" "));
    ModalAnswer none(QMessageBox::Ok);
    ui.press("sbPost");
    QCOMPARE(none.seen(), 0);
    QCOMPARE(m_db->count(s.table), 1);
}

void TestCodeTableScreens::memoStoredAndFocusKeptEnabled()
{
    open(QStringLiteral("Duty"));
    ScreenDriver ui(m_screen.get());
    ui.press("sbInsert");
    ui.type("DBEdit2", QStringLiteral("業務"));
    ui.type("DBMemo1", QStringLiteral("外勤"));
    ui.press("sbPost");
    // The memo had the focus when save disabled it: the focus has moved on, to a control
    // that is enabled.
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QVERIFY2(focus->isEnabled(), qPrintable(focus->objectName()));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT DutyName || '/' || Memo FROM Duty")).toString(),
             QStringLiteral("業務/外勤"));
}

QTEST_MAIN(TestCodeTableScreens)
#include "tst_codetablescreens.moc"
