// The product screen and, through it, the record maintenance pattern: modes, the
// next-identifier insert, delete, edit, the checked save, cancel, search and close.
#include "app/mainform.h"
#include "app/recordscreenlink.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dialogs.h"
#include "controls/inputmethod.h"
#include "controls/recordconflict.h"
#include "data/records/dataset.h"
#include "data/book/errors.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "lookup/choosedialog.h"
#include "lookup/queryscreens.h"
#include "maintenance/nextid.h"
#include "maintenance/product.h"
#include "testsupport/modalaction.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QApplication>
#include <QCursor>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace tb;
using tb::test::ModalAction;
using tb::test::ModalAnswer;
using namespace tb::test;

namespace {

const char *const EditingControls[] = {"Button2",    "Button3",    "Button4",
                                       "EditName",   "EditSafeStock", "EditPriceA",
                                       "EditPriceB", "EditPriceC"};
const char *const NeverEnabled[] = {"EditID",    "EditType",  "EditUnit",  "EditColor",
                                    "EditStock", "EditPuDate", "EditDeDate"};
const char *const BrowseButtons[] = {"sbFirst", "sbPrior",  "sbNext",    "sbLast", "sbInsert",
                                     "sbDelete", "sbEdit", "sbRefresh", "Button1"};

template<typename T = QWidget>
T *control(const char *name)
{
    T *found = Product->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

DBEdit *box(const char *name)
{
    return control<DBEdit>(name);
}

void press(const char *name)
{
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
}

// Types as a keyboard (and, for Chinese, an input method committing one character at a
// time as a key with text) would.
void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
}

void type(const char *name, const QString &text)
{
    DBEdit *edit = box(name);
    edit->setFocus();
    typeInto(edit, text);
}

void clear(const char *name)
{
    DBEdit *edit = box(name);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
}

bool inEditingMode()
{
    bool editing = true, browsing = true;
    for (const char *name : EditingControls) {
        editing = editing && control(name)->isEnabled();
        browsing = browsing && !control(name)->isEnabled();
    }
    for (const char *name : BrowseButtons) {
        editing = editing && !control(name)->isEnabled();
        browsing = browsing && control(name)->isEnabled();
    }
    for (const char *name : {"sbPost", "sbCancel"}) {
        editing = editing && control(name)->isEnabled();
        browsing = browsing && !control(name)->isEnabled();
    }
    for (const char *name : NeverEnabled)
        editing = editing && !control(name)->isEnabled();
    if (editing == browsing)
        qFatal("the screen is in neither mode");
    return editing;
}

// Clicks a data cell of the pick-list that the button opens.
void pickRow(const char *button, int row, int column = 1)
{
    ModalAction action([row, column](QDialog *dialog) {
        auto *grid = dialog->findChild<DBGrid *>(QStringLiteral("DBGrid1"));
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    press(button);
    QVERIFY(action.done());
}

} // namespace

class TestProductScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void tabOrderInEditingMode();
    void leaveHandlerRunsOnlyWhenTheUserLeaves();
    void insertOnEmptyTable();
    void insertAfterLastIdentifier();
    void digitsRunOut();
    void identifierNotANumber();
    void requiredChecksInOrder();
    void clearedPricesStoredAsZero();
    void afterSaveOrCancelTableClosed();
    void editOnClosedTableEditsFirst();
    void editOnEmptyTable();
    void deleteAsksAndDeletes();
    void deleteOnClosedTableDoesNothing();
    void refusedSaveKeepsInput();
    void editChangedByAnotherUserReloadsKeepingTheTypedFields();
    void numberBeyondTheRangeNamedByItsCaption();
    void numberTakenMeanwhileSavesUnderTheNext();
    void saveWaitingForAnotherCopyShowsTheWaitCursor();
    void saveWithoutNumberRefused();
    void navigation();
    void searchAndClose();
    void queryScreenReachesTheScreenMadeNow();
    void newProductEndToEnd();
    void pickListThatCannotOpen();

private:
    void seed(const QString &id, const QString &name = QStringLiteral("chair"));
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestProductScreen::initTestCase()
{
    main = new Tmain;
    R_product = new TR_product;
    R_product->setMaintenanceScreen(linkTo(Product));
}

void TestProductScreen::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    Product = new TProduct;
    Product->show();
    QApplication::setActiveWindow(Product);
    QVERIFY(QTest::qWaitForWindowActive(Product));
}

void TestProductScreen::cleanup()
{
    delete Product;
    Product = nullptr;
    R_product->hide();
    main->hide();
    m_db.reset();
}

void TestProductScreen::seed(const QString &id, const QString &name)
{
    m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, TypeName, UnitName,"
                              " Stock, SafeStock, PriceA, PriceB, PriceC)"
                              " VALUES (?, ?, 'T', 'U', 5, 1, 100, 90, 80)"),
               {id, name});
}

// Another PC changed the record while it was being edited here: the save asks whether to
// reload; No keeps everything as typed, Yes takes the stored values of the fields not typed
// in, and the next save writes over the stored record knowingly.
void TestProductScreen::editChangedByAnotherUserReloadsKeepingTheTypedFields()
{
    seed(QStringLiteral("PR000001"));
    press("sbEdit");
    clear("EditPriceA");
    type("EditPriceA", QStringLiteral("120"));
    m_db->exec(QStringLiteral("UPDATE Product SET ProductName = '書桌', PriceA = 110, "
                              "PriceB = 70"));
    {
        ModalAnswer no(QMessageBox::No);
        press("sbPost");
        QCOMPARE(no.seen(), 1);
        QCOMPARE(no.text(), RecordChangedError::Sentence + QLatin1Char('\n') + ReloadQuestion
                                + QStringLiteral("\nRecord not found or changed by another user"));
        QCOMPARE(no.icon(), QMessageBox::Question);
    }
    QVERIFY(inEditingMode());
    QCOMPARE(box("EditName")->text(), QStringLiteral("chair"));
    QCOMPARE(box("EditPriceA")->text(), QStringLiteral("120"));
    {
        ModalAnswer yes(QMessageBox::Yes);
        press("sbPost");
        QCOMPARE(yes.seen(), 1);
    }
    QVERIFY(inEditingMode());
    QCOMPARE(box("EditName")->text(), QStringLiteral("書桌"));
    QCOMPARE(box("EditPriceA")->text(), QStringLiteral("120"));
    QCOMPARE(box("EditPriceB")->text(), QStringLiteral("70"));
    press("sbPost");
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName || ':' || PriceA || ':' || PriceB "
                                         "FROM Product")).toString(),
             QStringLiteral("書桌:120:70"));
}

void TestProductScreen::layout()
{
    QCOMPARE(Product->objectName(), QStringLiteral("Product"));
    QCOMPARE(Product->windowTitle(), QStringLiteral("商品資料"));
    QVERIFY(!(Product->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!inEditingMode());
    QVERIFY(!table1(Product)->Active());

    const std::pair<const char *, QColor> colours[] = {
        {"EditID", QColor(0xFFFF00)},     {"EditName", QColor(0xA6CAF0)},
        {"EditType", QColor(0xA6CAF0)},   {"EditSafeStock", QColor(0xA6CAF0)},
        {"EditStock", QColor(0xC0DCC0)},  {"EditPuDate", QColor(0xC0DCC0)},
        {"EditPriceA", QColor(0xA6CAF0)}, {"EditPriceB", QColor(0xFFFFFF)},
        {"EditPriceC", QColor(0xFFFFFF)}, {"EditDeDate", QColor(0xC0DCC0)},
    };
    for (const auto &[name, colour] : colours) {
        QCOMPARE(box(name)->palette().color(QPalette::Disabled, QPalette::Base), colour);
        QCOMPARE(inputMethodName(box(name)), ime::Cangjie);
    }
    for (const char *name : {"EditID", "EditStock", "EditPuDate", "EditDeDate"})
        QVERIFY(box(name)->isReadOnly());
    for (const char *name : {"Button2", "Button3", "Button4"}) {
        QCOMPARE(control<QPushButton>(name)->text(), QStringLiteral("▼"));
        QCOMPARE(control(name)->size(), QSize(17, 20));
    }
    QCOMPARE(control<QPushButton>("Button1")->text(), QStringLiteral("結束"));
    QCOMPARE(control("sbLast")->width(), 56);

    // "查詢" first, then add to cancel, then the navigation, then the close button.
    const char *order[] = {"sbRefresh", "sbInsert", "sbDelete", "sbEdit", "sbPost",
                           "sbCancel",  "sbFirst",  "sbPrior",  "sbNext", "sbLast", "Button1"};
    for (size_t i = 1; i < std::size(order); ++i)
        QVERIFY2(control(order[i - 1])->x() < control(order[i])->x(), order[i]);

    auto *legend = control<QGroupBox>("GroupBox1");
    QCOMPARE(legend->title(), QStringLiteral("欄位顏色說明"));
    QStringList entries;
    for (QLabel *label : legend->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            entries << label->text();
    QCOMPARE(entries, QStringList({"系統自動產生", "必填欄位", "系統自動寫入", "可填可不填"}));
    // Lower right: right of the left column, below the last price box.
    const QPoint legendAt = legend->mapTo(Product, QPoint(0, 0));
    QVERIFY(legendAt.x() > box("EditName")->mapTo(Product, QPoint(0, 0)).x());
    QVERIFY(legendAt.y() > box("EditDeDate")->mapTo(Product, QPoint(0, 0)).y());
}

void TestProductScreen::tabOrderInEditingMode()
{
    press("sbInsert");
    QVERIFY(inEditingMode());
    box("EditName")->setFocus();
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"EditSafeStock", "EditPriceA", "EditPriceB", "EditPriceC",
                                   "Button2", "Button3", "Button4"}));
    // The speed buttons take no focus: past the last pick button the focus comes round to
    // the name again (the close button is disabled), and after a cancel it rests on the
    // close button, the first control of the order.
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited.mid(7), QStringList({"EditName", "EditSafeStock"}));
    press("sbCancel");
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button1"));
    for (const QToolButton *button : Product->findChildren<QToolButton *>())
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
}

void TestProductScreen::leaveHandlerRunsOnlyWhenTheUserLeaves()
{
    int exits = 0;
    const auto counting =
        connect(box("EditName"), &DBEdit::exited, this, [&exits] { ++exits; });
    for (const char *finish : {"sbPost", "sbCancel"}) {
        press("sbInsert");
        box("EditType")->setText(QStringLiteral("T"));
        box("EditUnit")->setText(QStringLiteral("U"));
        type("EditSafeStock", QStringLiteral("3"));
        type("EditName", QStringLiteral("chair"));
        exits = 0;
        // Save and cancel disable the box under the focus; that is not the user leaving it.
        press(finish);
        QVERIFY(!inEditingMode());
        QCOMPARE(exits, 0);
    }
    QCOMPARE(m_db->count(QStringLiteral("Product")), 1);
    press("sbInsert");
    type("EditName", QStringLiteral("desk"));
    QTest::keyClick(box("EditName"), Qt::Key_Tab);
    QCOMPARE(exits, 1);
    press("sbCancel");
    QCOMPARE(exits, 1);
    disconnect(counting);
}

void TestProductScreen::insertOnEmptyTable()
{
    press("sbInsert");
    QVERIFY(inEditingMode());
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000001"));
    for (const char *name : {"EditStock", "EditPriceA", "EditPriceB", "EditPriceC"})
        QCOMPARE(box(name)->text(), QStringLiteral("0"));
    QCOMPARE(box("EditSafeStock")->text(), QString());
    QCOMPARE(table1(Product)->State(), DataSetState::Insert);
    QVERIFY(table1(Product)->FieldByName(QStringLiteral("SafeStock"))->IsNull());
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
    press("sbCancel");
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
}

void TestProductScreen::insertAfterLastIdentifier()
{
    seed(QStringLiteral("PR000041"));
    seed(QStringLiteral("PR000007"));
    press("sbInsert");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000042"));
    press("sbCancel");
}

void TestProductScreen::digitsRunOut()
{
    seed(QStringLiteral("PR999999"));
    ModalAnswer answer(QMessageBox::Ok);
    press("sbInsert");
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.text(), identifiersExhaustedMessage(QStringLiteral("PR999999")));
    QCOMPARE(answer.caption(), applicationTitle());
    QCOMPARE(answer.icon(), QMessageBox::NoIcon);
    QCOMPARE(answer.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!inEditingMode());
    QCOMPARE(table1(Product)->State(), DataSetState::Browse);
    QCOMPARE(m_db->count(QStringLiteral("Product")), 1);
    // Nothing half-made is left behind: save and cancel stay out of reach.
    QVERIFY(!control("sbPost")->isEnabled());
}

void TestProductScreen::identifierNotANumber()
{
    seed(QStringLiteral("PRABCDEF"));
    ModalAnswer answer(QMessageBox::Ok);
    press("sbInsert");
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.text(), QStringLiteral("'ABCDEF' is not a valid integer value"));
    QVERIFY(!inEditingMode());
    QVERIFY(table1(Product)->Active());
    QCOMPARE(table1(Product)->State(), DataSetState::Browse);
    QCOMPARE(box("EditID")->text(), QStringLiteral("PRABCDEF"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 1);
}

void TestProductScreen::requiredChecksInOrder()
{
    press("sbInsert");
    const QString messages[] = {"商品名稱不可為空白!", "類別不可為空白!", "單位不可為空白!",
                                "安全存量不可為空白!", "價格A不可為空白!"};
    // Price A starts as 0; clear it so that every check has something to report.
    clear("EditPriceA");
    auto fill = [](int step) {
        switch (step) {
        case 0: type("EditName", QStringLiteral("磁磚")); break;
        case 1: box("EditType")->setText(QStringLiteral("地磚")); break; // as a pick-list does
        case 2: box("EditUnit")->setText(QStringLiteral("箱")); break;
        case 3: type("EditSafeStock", QStringLiteral("10")); break;
        case 4: type("EditPriceA", QStringLiteral("350")); break;
        }
    };
    for (int step = 0; step < 5; ++step) {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), messages[step]);
        QCOMPARE(answer.caption(), applicationTitle());
        QCOMPARE(answer.icon(), QMessageBox::NoIcon);
        QVERIFY(inEditingMode());
        QCOMPARE(table1(Product)->State(), DataSetState::Insert);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
        fill(step);
    }
    ModalAnswer none(QMessageBox::Ok);
    press("sbPost");
    QCOMPARE(none.seen(), 0);
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName || TypeName || UnitName || SafeStock"
                                         " || '/' || PriceA FROM Product"
                                         " WHERE ProductID = 'PR000001'"))
                 .toString(),
             QStringLiteral("磁磚地磚箱10/350"));
}

void TestProductScreen::clearedPricesStoredAsZero()
{
    press("sbInsert");
    type("EditName", QStringLiteral("chair"));
    box("EditType")->setText(QStringLiteral("T"));
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("3"));
    clear("EditPriceA");
    type("EditPriceA", QStringLiteral("120"));
    clear("EditPriceB");
    clear("EditPriceC");
    QCOMPARE(box("EditPriceB")->text(), QString());
    press("sbPost");
    QVERIFY(!inEditingMode());
    const QString row = QStringLiteral("SELECT %1 FROM Product WHERE ProductID = 'PR000001'");
    for (const char *column : {"Stock", "PriceB", "PriceC"}) {
        const QVariant value = m_db->scalar(row.arg(QLatin1String(column)));
        QVERIFY2(!value.isNull(), column);
        QCOMPARE(value.toInt(), 0);
    }
    QCOMPARE(m_db->scalar(row.arg(QStringLiteral("PriceA"))).toInt(), 120);
    // No colour was chosen, and none is needed.
    QCOMPARE(m_db->scalar(row.arg(QStringLiteral("coalesce(ColorName, '')"))).toString(),
             QString());
}

void TestProductScreen::afterSaveOrCancelTableClosed()
{
    seed(QStringLiteral("PR000001"));
    seed(QStringLiteral("PR000002"));
    for (const char *finish : {"sbPost", "sbCancel"}) {
        press("sbEdit");
        QCOMPARE(box("EditID")->text(), QStringLiteral("PR000001"));
        press(finish);
        QVERIFY(!inEditingMode());
        QVERIFY(!table1(Product)->Active());
        for (const char *name : {"EditID", "EditName", "EditStock", "EditPriceA"})
            QCOMPARE(box(name)->text(), QString());
        ModalAnswer answer(QMessageBox::Ok);
        for (const char *name : {"sbFirst", "sbPrior", "sbNext", "sbLast"})
            press(name);
        QCOMPARE(answer.seen(), 0);
        QVERIFY(!table1(Product)->Active());
        QCOMPARE(box("EditID")->text(), QString());
    }
}

void TestProductScreen::editOnClosedTableEditsFirst()
{
    seed(QStringLiteral("PR000002"), QStringLiteral("second"));
    seed(QStringLiteral("PR000001"), QStringLiteral("first"));
    press("sbEdit");
    QVERIFY(inEditingMode());
    QCOMPARE(table1(Product)->State(), DataSetState::Edit);
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000001"));
    clear("EditName");
    type("EditName", QStringLiteral("renamed"));
    press("sbPost");
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product"
                                         " WHERE ProductID = 'PR000001'")).toString(),
             QStringLiteral("renamed"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
}

void TestProductScreen::editOnEmptyTable()
{
    press("sbEdit");
    QVERIFY(inEditingMode());
    QVERIFY(table1(Product)->Active());
    {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.text(), QStringLiteral("商品名稱不可為空白!"));
    }
    QVERIFY(inEditingMode());
    press("sbCancel");
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
}

void TestProductScreen::deleteAsksAndDeletes()
{
    seed(QStringLiteral("PR000001"));
    seed(QStringLiteral("PR000002"));
    seed(QStringLiteral("PR000003"));
    // Brought onto a record as the query screen does it.
    table1(Product)->Open();
    QVERIFY(table1(Product)->Locate(QStringLiteral("ProductID"), QStringLiteral("PR000002")));
    {
        ModalAnswer answer(QMessageBox::No);
        press("sbDelete");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("您要刪除此筆資料嗎?"));
        QCOMPARE(answer.caption(), QString());
        QCOMPARE(answer.icon(), QMessageBox::Question);
        QCOMPARE(answer.buttons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answer.defaultButton(), QMessageBox::No);
    }
    QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
    {
        ModalAnswer answer(QMessageBox::Yes);
        press("sbDelete");
        QCOMPARE(answer.seen(), 1);
    }
    QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Product"
                                         " WHERE ProductID = 'PR000002'")).toInt(), 0);
    // The table stays open on the record that follows, in browse mode.
    QVERIFY(!inEditingMode());
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000003"));
}

void TestProductScreen::deleteOnClosedTableDoesNothing()
{
    seed(QStringLiteral("PR000001"));
    ModalAnswer answer(QMessageBox::Yes);
    press("sbDelete");
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.text(), QStringLiteral("您要刪除此筆資料嗎?"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 1);
    QVERIFY(!table1(Product)->Active());
    QVERIFY(!inEditingMode());
}

void TestProductScreen::refusedSaveKeepsInput()
{
    press("sbInsert");
    type("EditName", QStringLiteral("lamp"));
    box("EditType")->setText(QStringLiteral("T"));
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("2"));
    m_db->refuse(QStringLiteral("Refuse"), QStringLiteral("INSERT"), QStringLiteral("Product"),
                 {}, QStringLiteral("refused by the database"));
    {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("refused by the database"));
        QCOMPARE(answer.icon(), QMessageBox::Critical);
    }
    QVERIFY(inEditingMode());
    QCOMPARE(table1(Product)->State(), DataSetState::Insert);
    QCOMPARE(box("EditName")->text(), QStringLiteral("lamp"));
    QCOMPARE(box("EditSafeStock")->text(), QStringLiteral("2"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
    press("sbCancel");
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
}

void TestProductScreen::numberBeyondTheRangeNamedByItsCaption()
{
    press("sbInsert");
    type("EditName", QStringLiteral("lamp"));
    box("EditType")->setText(QStringLiteral("T"));
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("2147483648"));
    {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.seen(), 1);
        const QStringList lines = answer.text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("「安全存量」")), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("'2147483648' is not a valid integer value for "
                                          "field 'SafeStock'"));
    }
    QVERIFY(inEditingMode());
    QCOMPARE(box("EditSafeStock")->text(), QStringLiteral("2147483648"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);

    // Corrected in full-width digits, as an input method in full-width mode types them.
    clear("EditSafeStock");
    type("EditSafeStock", QStringLiteral("２０"));
    clear("EditPriceA");
    type("EditPriceA", QStringLiteral("１５００"));
    press("sbPost");
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT SafeStock || '/' || PriceA FROM Product"))
                 .toString(),
             QStringLiteral("20/1500"));
}

void TestProductScreen::numberTakenMeanwhileSavesUnderTheNext()
{
    seed(QStringLiteral("PR000007"));
    press("sbInsert");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000008"));
    type("EditName", QStringLiteral("lamp"));
    box("EditType")->setText(QStringLiteral("T"));
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("2"));
    // Another copy of the application stores two products meanwhile.
    seed(QStringLiteral("PR000008"), QStringLiteral("other"));
    seed(QStringLiteral("PR000009"), QStringLiteral("another"));
    {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(),
                 QStringLiteral("編號 PR000008 已被使用,本筆資料已改以編號 PR000010 儲存。"));
        QCOMPARE(answer.caption(), applicationTitle());
    }
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName || ':' || SafeStock FROM Product "
                                         "WHERE ProductID = 'PR000010'")).toString(),
             QStringLiteral("lamp:2"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                         "WHERE ProductID = 'PR000008'")).toString(),
             QStringLiteral("other"));
}

void TestProductScreen::saveWaitingForAnotherCopyShowsTheWaitCursor()
{
    if (test::TestDatabase::onServer())
        QSKIP("A server holds no file: a save waits only for another save of the same row");
    press("sbInsert");
    type("EditName", QStringLiteral("lamp"));
    box("EditType")->setText(QStringLiteral("T"));
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("2"));
    // Another copy holds the file for a moment, from a connection of its own.
    std::promise<void> locked;
    std::atomic<int> shapeWhileWaiting{-1};
    const QString path = m_db->path();
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            db.setDatabaseName(path);
            db.open();
            QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const QCursor *cursor = QGuiApplication::overrideCursor();
            shapeWhileWaiting = cursor ? int(cursor->shape()) : -2;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            QSqlQuery(db).exec(QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    });
    locked.get_future().wait();
    press("sbPost"); // waits for the other copy, then saves
    other.join();
    QCOMPARE(shapeWhileWaiting.load(), int(Qt::WaitCursor));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!inEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
             QStringLiteral("lamp"));
}

void TestProductScreen::saveWithoutNumberRefused()
{
    // Edit on an empty table inserts a record that the next-identifier rule never numbered.
    press("sbEdit");
    type("EditName", QStringLiteral("lamp"));
    box("EditType")->setText(QStringLiteral("T")); // as a pick-list does
    box("EditUnit")->setText(QStringLiteral("U"));
    type("EditSafeStock", QStringLiteral("2"));
    clear("EditPriceA");
    type("EditPriceA", QStringLiteral("150"));
    QCOMPARE(box("EditID")->text(), QString());
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModalAnswer answer(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("Field 'ProductID' must have a value"));
        QCOMPARE(answer.icon(), QMessageBox::Critical);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
        QVERIFY(inEditingMode());
        QCOMPARE(box("EditName")->text(), QStringLiteral("lamp"));
        QCOMPARE(box("EditType")->text(), QStringLiteral("T"));
        QCOMPARE(box("EditSafeStock")->text(), QStringLiteral("2"));
        QCOMPARE(box("EditPriceA")->text(), QStringLiteral("150"));
    }
}

void TestProductScreen::navigation()
{
    for (const char *id : {"PR000001", "PR000002", "PR000003"})
        seed(QLatin1String(id));
    table1(Product)->Open();
    press("sbLast");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000003"));
    press("sbPrior");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000002"));
    press("sbFirst");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000001"));
    press("sbNext");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000002"));
    // A record still being edited is not moved away from.
    table1(Product)->Edit();
    Product->sbNextClick();
    QCOMPARE(table1(Product)->State(), DataSetState::Edit);
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000002"));
}

void TestProductScreen::searchAndClose()
{
    press("sbInsert");
    QVERIFY(!control("sbRefresh")->isEnabled());
    QVERIFY(!control("Button1")->isEnabled());
    press("sbCancel");

    press("sbRefresh");
    QVERIFY(R_product->isVisible());
    QVERIFY(!Product->isVisible());
    R_product->hide();

    Product->show();
    table1(Product)->Open();
    press("Button1");
    QVERIFY(!Product->isVisible());
    QVERIFY(main->isVisible());
    QVERIFY(!table1(Product)->Active());
}

// The query screen outlives the product screen, which every test here makes again: a
// double-click lands on the screen made now, and without one the query screen only goes.
void TestProductScreen::queryScreenReachesTheScreenMadeNow()
{
    seed(QStringLiteral("PR000001"));
    seed(QStringLiteral("PR000002"), QStringLiteral("lamp"));
    const auto searchAndDoubleClick = [] {
        R_product->show();
        columnBox(R_product)->setCurrentIndex(1); // 商品名稱
        valueBox(R_product)->setText(QStringLiteral("lamp"));
        QTest::mouseClick(named<QPushButton>(R_product, "Button1"), Qt::LeftButton);
        DBGrid *results = grid(R_product);
        QCOMPARE(results->model()->rowCount(), 1);
        const QPoint row = results->visualRect(results->model()->index(0, 0)).center();
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, row);
    };

    Product->hide();
    searchAndDoubleClick();
    QVERIFY(Product->isVisible() && !R_product->isVisible());
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000002"));
    QCOMPARE(table1(Product)->State(), DataSetState::Browse);

    delete Product;
    Product = nullptr;
    searchAndDoubleClick();
    QVERIFY(!R_product->isVisible());
    QVERIFY(!query(R_product)->Active());
}

void TestProductScreen::newProductEndToEnd()
{
    for (const auto &[id, name] : {std::pair{"TY0001", "地磚"}, std::pair{"TY0002", "壁紙"}})
        m_db->exec(QStringLiteral("INSERT INTO ProductType VALUES (?, ?)"),
                   {QLatin1String(id), QString::fromUtf8(name)});
    m_db->exec(QStringLiteral("INSERT INTO Unit VALUES ('UN0001', '捲', NULL)"));
    m_db->exec(QStringLiteral("INSERT INTO Unit VALUES ('UN0002', '箱', 'box')"));
    m_db->exec(QStringLiteral("INSERT INTO Color VALUES ('CO0001', '米白')"));
    seed(QStringLiteral("PR000041"));

    // The pick buttons cannot be used in browse mode.
    QVERIFY(!control("Button2")->isEnabled());
    press("sbInsert");
    QCOMPARE(box("EditID")->text(), QStringLiteral("PR000042"));
    type("EditName", QStringLiteral("花紋壁紙"));
    pickRow("Button2", 1);           // 壁紙, clicked on its name
    pickRow("Button3", 0, 0);        // 捲, clicked on its number: any cell of the row
    pickRow("Button4", 0, 1);        // 米白
    QCOMPARE(box("EditType")->text(), QStringLiteral("壁紙"));
    QCOMPARE(box("EditUnit")->text(), QStringLiteral("捲"));
    QCOMPARE(box("EditColor")->text(), QStringLiteral("米白"));
    // Every dialog was released once it had closed.
    QCOMPARE(Product->findChildren<ChooseDialog *>().size(), 0);
    type("EditSafeStock", QStringLiteral("20"));
    clear("EditPriceA");
    type("EditPriceA", QStringLiteral("450"));
    press("sbPost");
    QVERIFY(!inEditingMode());

    // Found again, as the query screen finds it.
    table1(Product)->Open();
    QVERIFY(table1(Product)->Locate(QStringLiteral("ProductID"), QStringLiteral("PR000042")));
    QCOMPARE(box("EditName")->text(), QStringLiteral("花紋壁紙"));
    QCOMPARE(box("EditType")->text(), QStringLiteral("壁紙"));
    QCOMPARE(box("EditUnit")->text(), QStringLiteral("捲"));
    QCOMPARE(box("EditColor")->text(), QStringLiteral("米白"));
    QCOMPARE(box("EditSafeStock")->text(), QStringLiteral("20"));
    QCOMPARE(box("EditPriceA")->text(), QStringLiteral("450"));
    QCOMPARE(box("EditStock")->text(), QStringLiteral("0"));
}

void TestProductScreen::pickListThatCannotOpen()
{
    m_db->exec(QStringLiteral("DROP TABLE Color"));
    press("sbInsert");
    type("EditName", QStringLiteral("vase"));
    ModalAnswer answer(QMessageBox::Ok);
    press("Button4");
    QCOMPARE(answer.seen(), 1);
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    QVERIFY(inEditingMode());
    QCOMPARE(table1(Product)->State(), DataSetState::Insert);
    QCOMPARE(box("EditName")->text(), QStringLiteral("vase"));
    QCOMPARE(box("EditColor")->text(), QString());
    QCOMPARE(Product->findChildren<ChooseDialog *>().size(), 0);
    press("sbCancel");
}

QTEST_MAIN(TestProductScreen)
#include "tst_productscreen.moc"
