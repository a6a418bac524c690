// The employee screen: layout and modes, the choice lists, the date pickers, the
// department and duty pick-lists, the checks on save, the national ID checked on leaving
// its box, and the query screen that stays beside it.
#include "app/mainform.h"
#include "app/recordscreenlink.h"
#include "controls/datepicker.h"
#include "controls/dbgrid.h"
#include "controls/guard.h"
#include "controls/windowframe.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "lookup/queryscreens.h"
#include "maintenance/employee.h"
#include "testsupport/modalaction.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>

#include <memory>

using namespace tb;
using tb::test::ModalAction;
using tb::test::ModalAnswer;
using tb::test::ScreenDriver;
using namespace tb::test;

namespace {

QString boxName(int n)
{
    return QStringLiteral("DBEdit%1").arg(n);
}

// Opens the list and clicks an item, as the user does.
void choose(QComboBox *list, int row)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
}

} // namespace

class TestEmployeeScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutAndModes();
    void choices_data();
    void choices();
    void pickerWritesOnlyItsBox();
    void checksInOrderThenSaved();
    void nationalIdOnLeaving_data();
    void nationalIdOnLeaving();
    void searchStaysVisibleAndCloseHidesBoth();
    void queryScreenMovingTheTable();

private:
    ScreenDriver ui() const { return ScreenDriver(employee); }
    QComboBox *list(int n) const
    {
        return ui().control<QComboBox>(QStringLiteral("ComboBox%1").arg(n));
    }
    void pickFirstRow(const char *button);
    void seed(const QString &id);

    std::unique_ptr<test::TestDatabase> m_db;
};

void TestEmployeeScreen::initTestCase()
{
    main = new Tmain;
    R_employee = new TR_employee;
    R_employee->setMaintenanceScreen(linkTo(employee));
}

void TestEmployeeScreen::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    employee = new Temployee;
    employee->show();
    QApplication::setActiveWindow(employee);
    QVERIFY(QTest::qWaitForWindowActive(employee));
}

void TestEmployeeScreen::cleanup()
{
    delete employee;
    employee = nullptr;
    R_employee->hide();
    main->hide();
    m_db.reset();
}

void TestEmployeeScreen::seed(const QString &id)
{
    m_db->exec(QStringLiteral("INSERT INTO Employee (EmployeeID, EmployeeName, Birthday, Sex,"
                              " Blood, Marriage, JoinMan, Tel, DepartmentName, Antecedent,"
                              " DutyName, ArriveDate) VALUES (?, 'n', '1980-01-02', '男', 'A',"
                              " '未婚', 'j', 't', 'd', 'a', 'u', '2005-06-07')"),
               {id});
}

void TestEmployeeScreen::pickFirstRow(const char *button)
{
    ModalAction action([](QDialog *dialog) {
        auto *grid = dialog->findChild<DBGrid *>(QStringLiteral("DBGrid1"));
        const QRect cell = grid->visualRect(grid->model()->index(0, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    ui().press(QLatin1String(button));
    QVERIFY(action.done());
}

void TestEmployeeScreen::layoutAndModes()
{
    QCOMPARE(employee->windowTitle(), QStringLiteral("員工資料"));
    QCOMPARE(employee->frameGeometry().topLeft(), QPoint(200, 200));
    QCOMPARE(employee->size(), QSize(704 - FrameExtraWidth, 457 - FrameExtraHeight));
    for (int n = 1; n <= 3; ++n) {
        auto *picker = ui().control<DatePicker>(QStringLiteral("DateTimePicker%1").arg(n));
        QCOMPARE(picker->date(), QDate(2006, 7, 25));
    }

    const QStringList editing{"Button1", "Button3", "ComboBox1", "ComboBox2", "ComboBox3",
                              "DateTimePicker1", "DateTimePicker2", "DateTimePicker3",
                              "DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit8", "DBEdit9",
                              "DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit14",
                              "DBEdit15", "DBEdit16", "DBMemo1"};
    for (bool editingMode : {false, true}) {
        for (const QString &name : editing)
            QVERIFY2(ui().enabled(name) == editingMode, qPrintable(name));
        for (const char *name : {"DBEdit5", "DBEdit6", "DBEdit7"})
            QVERIFY(!ui().enabled(QLatin1String(name)));
        QVERIFY(ui().enabled("DBEdit17"));
        QCOMPARE(ui().enabled("Button2"), !editingMode);
        ui().press("sbInsert");
    }
    QVERIFY(ui().box("DBEdit1")->isReadOnly());
    QCOMPARE(ui().text("DBEdit1"), QStringLiteral("EM000001"));
}

void TestEmployeeScreen::choices_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("row");      // chosen in the list; -1: typed
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("男") << 1 << 0 << "" << "男";
    QTest::newRow("女") << 1 << 1 << "" << "女";
    QTest::newRow("A") << 2 << 0 << "" << "A";
    QTest::newRow("B") << 2 << 1 << "" << "B";
    QTest::newRow("AB") << 2 << 2 << "" << "AB";
    QTest::newRow("O") << 2 << 3 << "" << "O";
    QTest::newRow("empty fifth item") << 2 << 4 << "" << "O";
    QTest::newRow("未婚") << 3 << 0 << "" << "未婚";
    QTest::newRow("已婚") << 3 << 1 << "" << "已婚";
    QTest::newRow("typed AB") << 2 << -1 << "AB" << "AB";
    QTest::newRow("typed, no item") << 2 << -1 << "X" << "O";
    QTest::newRow("typed sex, no item") << 1 << -1 << "M" << "女";
}

void TestEmployeeScreen::choices()
{
    QFETCH(int, list);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    ui().press("sbInsert");
    if (row >= 0) {
        choose(this->list(list), row);
    } else {
        this->list(list)->setFocus();
        ScreenDriver::typeInto(this->list(list), typed);
    }
    const int box = 4 + list;
    QCOMPARE(ui().text(boxName(box)), written);
    for (int other : {5, 6, 7})
        if (other != box)
            QCOMPARE(ui().text(boxName(other)), QString());
}

void TestEmployeeScreen::pickerWritesOnlyItsBox()
{
    ui().press("sbInsert");
    ui().control<DatePicker>("DateTimePicker2")->pick(QDate(2001, 3, 3));
    QCOMPARE(ui().text("DBEdit14"), ShortDate::format(QDate(2001, 3, 3)));
    QCOMPARE(ui().text("DBEdit4"), QString());
    QCOMPARE(ui().text("DBEdit15"), QString());
    for (const char *other : {"DateTimePicker1", "DateTimePicker3"})
        QCOMPARE(ui().control<DatePicker>(QLatin1String(other))->date(), QDate(2006, 7, 25));
}

void TestEmployeeScreen::checksInOrderThenSaved()
{
    m_db->exec(QStringLiteral("INSERT INTO Department VALUES ('DE0001', '業務部')"));
    m_db->exec(QStringLiteral("INSERT INTO Duty VALUES ('DU0001', '經理', NULL)"));
    const QString messages[] = {"員工姓名不可為空白!", "出生日期不可為空白!", "性別不可為空白!",
                                "血型不可為空白!", "婚姻狀態不可為空白!", "聯絡人不可為空白!",
                                "電話不可為空白!", "部門編號不可為空白!", "學歷不可為空白!",
                                "工作職務不可為空白!", "到職日不可為空白!"};
    const std::function<void()> fills[] = {
        [&] { ui().type("DBEdit2", QStringLiteral("王小明")); },
        [&] { ui().control<DatePicker>("DateTimePicker1")->pick(QDate(1980, 12, 31)); },
        [&] { choose(list(1), 1); },
        [&] { choose(list(2), 2); },
        [&] { choose(list(3), 1); },
        [&] { ui().type("DBEdit8", QStringLiteral("王太太")); },
        [&] { ui().type("DBEdit9", QStringLiteral("02-1234")); },
        [&] { pickFirstRow("Button1"); },
        [&] { ui().type("DBEdit12", QStringLiteral("大學")); },
        [&] { pickFirstRow("Button3"); },
        [&] { ui().type("DBEdit14", ShortDate::format(QDate(2001, 3, 3))); },
    };
    ui().press("sbInsert");
    for (int step = 0; step < 11; ++step) {
        {
            ModalAnswer answer(QMessageBox::Ok, 2);
            ui().press("sbPost");
            QCOMPARE(answer.seen(), 1);
            QCOMPARE(answer.text(), messages[step]);
        }
        QVERIFY(ui().enabled("sbPost"));
        QCOMPARE(m_db->count(QStringLiteral("Employee")), 0);
        fills[step]();
    }
    ModalAnswer none(QMessageBox::Ok);
    ui().press("sbPost");
    QCOMPARE(none.seen(), 0);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT EmployeeName || Birthday || Sex || Blood ||"
                                         " Marriage || DepartmentName || DutyName || ArriveDate"
                                         " || coalesce(ID, '-') FROM Employee"))
                 .toString(),
             QStringLiteral("王小明1980-12-31女AB已婚業務部經理2001-03-03-"));
}

void TestEmployeeScreen::nationalIdOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // after leaving
    QTest::addColumn<QString>("message");
    QTest::newRow("passes") << "A123456789" << "A123456789" << "";
    QTest::newRow("upper-cased, passes") << "a123456789" << "A123456789" << "";
    QTest::newRow("sum 129") << "A123456788" << "" << "身份證號碼內容有誤,請重新輸入!";
    QTest::newRow("sum 139") << "B123456789" << "" << "身份證號碼內容有誤,請重新輸入!";
    QTest::newRow("nine") << "A12345678" << "" << "身份證字號長度錯誤,請重新輸入!";
    QTest::newRow("empty") << "" << "" << "身份證字號長度錯誤,請重新輸入!";
    QTest::newRow("digit first") << "1123456789" << ""
                                 << "身份證字號第一個字母必須是英文字母,請重新輸入!";
    QTest::newRow("letter last") << "A12345678X" << "" << "身份證號碼第2至第10個字必須是數字!";
}

void TestEmployeeScreen::nationalIdOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    ui().press("sbInsert");
    ui().type("DBEdit3", typed);
    ModalAnswer answer(QMessageBox::Ok, 2);
    ScreenDriver::tab();
    QTRY_COMPARE(ui().focused(), message.isEmpty() ? "DBEdit4" : "DBEdit3");
    QCOMPARE(answer.seen(), message.isEmpty() ? 0 : 1);
    QCOMPARE(answer.text(), message);
    QCOMPARE(employee->idPassed(), message.isEmpty());
    QCOMPARE(ui().text("DBEdit3"), shown);
}

void TestEmployeeScreen::searchStaysVisibleAndCloseHidesBoth()
{
    ui().press("sbRefresh");
    QVERIFY(R_employee->isVisible());
    QVERIFY(employee->isVisible());
    ui().press("Button2");
    QVERIFY(!R_employee->isVisible());
    QVERIFY(!employee->isVisible());
    QVERIFY(main->isVisible());
}

void TestEmployeeScreen::queryScreenMovingTheTable()
{
    seed(QStringLiteral("EM000001"));
    seed(QStringLiteral("EM000002"));
    ui().press("sbRefresh");
    // While the query screen is up, a new employee is begun on the screen beside it...
    ui().press("sbInsert");
    ui().type("DBEdit2", QStringLiteral("新人"));
    auto locate = [](const QString &id) {
        runGuarded([&] { // as the query screen's double-click does
            table1(employee)->Open();
            table1(employee)->Locate(QStringLiteral("EmployeeID"), id);
        });
    };
    {
        // ... and moving the table would post it: the checks refuse it first.
        ModalAnswer answer(QMessageBox::Ok, 2);
        locate(QStringLiteral("EM000001"));
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("出生日期不可為空白!"));
    }
    QCOMPARE(m_db->count(QStringLiteral("Employee")), 2);
    QCOMPARE(table1(employee)->State(), DataSetState::Insert);
    QVERIFY(ui().enabled("sbPost"));
    ui().press("sbCancel");
    // A record taken into edit and left unchanged is let go, and the screen browses.
    ui().press("sbEdit");
    locate(QStringLiteral("EM000002"));
    QCOMPARE(ui().text("DBEdit1"), QStringLiteral("EM000002"));
    QVERIFY(!ui().enabled("sbPost"));
    QVERIFY(ui().enabled("sbInsert"));
}

QTEST_MAIN(TestEmployeeScreen)
#include "tst_employeescreen.moc"
