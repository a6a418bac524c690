// The quotation screen driven as a user drives it: the header and its modes, monthly
// numbers, the line grid with its numbers and totals, save with its checks, cancel,
// delete, and the failures that must leave nothing half written. The rules alone are
// tested through the quotation's session in tst_quotesession.
#include "app/mainform.h"
#include "controls/datepicker.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dblookupcombobox.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/inputmethod.h"
#include "data/book/clock.h"
#include "data/book/errors.h"
#include "data/records/field.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "lookup/productpicker.h"
#include "maintenance/customer.h"
#include "sales/quote.h"
#include "sales/quotenumbers.h"
#include "sales/quotesession.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/modalaction.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tb;
using tb::test::ModalAction;
using tb::test::ModalAnswer;

namespace {

// Visible columns of the line grid.
enum Column { Item, Product, Name, Quantity, Unit, Price, Amount, Memo };

const char *const NavigationButtons[] = {"sbFirst", "sbPrior", "sbNext", "sbLast",
                                         "sbDelete", "sbEdit", "sbRefresh", "Button1"};
// DBEdit4 as well, except that it starts enabled.
const char *const EditingControls[] = {"sbPost", "sbCancel", "DBEdit2", "DateTimePicker1",
                                       "DBEdit5", "DateTimePicker2", "DBMemo1"};
const char *const AlwaysEnabled[] = {"sbInsert", "EditCUSTID", "EditEMPID", "DBEdit3",
                                     "DBGrid1"};
const char *const NeverEnabled[] = {"DBEdit1", "DBEdit6", "DBEdit7", "DBEdit8"};

// The quotation's record sets, as the window shows them.
TableCursor *quoteHeaders()
{
    return Quote->session()->header();
}

TableCursor *quoteLines()
{
    return Quote->session()->lines();
}

template<typename T = QWidget>
T *control(const char *name)
{
    T *found = Quote->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString text(const char *box)
{
    return control<DBEdit>(box)->text();
}

DBGrid *grid()
{
    return control<DBGrid>("DBGrid1");
}

QString cell(int row, Column column)
{
    return grid()->model()->index(row, column).data().toString();
}

int gridRows()
{
    return grid()->model()->rowCount();
}

QString header(const char *name)
{
    return quoteHeaders()->FieldByName(QLatin1String(name))->AsString();
}

// (The offscreen platform does not hand the activation back to the window after a
// dialog closes, as a desktop does.)
QWidget *focused()
{
    if (!Quote->isActiveWindow())
        QApplication::setActiveWindow(Quote);
    return QApplication::focusWidget() ? QApplication::focusWidget() : Quote->focusWidget();
}

void press(const char *name)
{
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
}

void clickCell(int row, Column column)
{
    const QRect rect = grid()->visualRect(grid()->model()->index(row, column));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
}

void type(const QString &text)
{
    for (QChar c : text)
        QTest::keyClick(focused(), c.toLatin1());
}

// Keys as an input method in full-width mode delivers them: each carries its character.
void typeWide(const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

// Types into a cell of the line grid as the user does: a click on the cell, then the keys.
void typeIntoCell(int row, Column column, const QString &value)
{
    clickCell(row, column);
    type(value);
}

// A new line below the others (the first one into the empty row), its cells typed in.
// The line is posted when the user moves to another row or saves.
void addLine(const QString &product, int quantity, int price)
{
    int row = 0;
    if (!quoteLines()->IsEmpty()) {
        clickCell(gridRows() - 1, Product);
        QTest::keyClick(focused(), Qt::Key_Down);
        row = gridRows() - 1;
    }
    typeIntoCell(row, Product, product);
    typeIntoCell(row, Quantity, QString::number(quantity));
    typeIntoCell(row, Price, QString::number(price));
    clickCell(row, Product); // the cell is left, the line is not
}

// Posts the line being typed by moving up to the line above it, as a user would.
void leaveLine()
{
    QTest::keyClick(focused(), Qt::Key_Up);
}

enum class Mode { Browse, Editing, Neither };

// The mode the enabled controls show.
Mode mode()
{
    bool editing = true, browsing = true;
    for (const char *name : NavigationButtons) {
        editing = editing && !control(name)->isEnabled();
        browsing = browsing && control(name)->isEnabled();
    }
    for (const char *name : EditingControls) {
        editing = editing && control(name)->isEnabled();
        browsing = browsing && !control(name)->isEnabled();
    }
    for (const char *name : AlwaysEnabled) {
        editing = editing && control(name)->isEnabled();
        browsing = browsing && control(name)->isEnabled();
    }
    for (const char *name : NeverEnabled) {
        editing = editing && !control(name)->isEnabled();
        browsing = browsing && !control(name)->isEnabled();
    }
    return editing == browsing ? Mode::Neither : editing ? Mode::Editing : Mode::Browse;
}

} // namespace

class TestQuoteScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void modesFollowTheButtons();
    void highestNumberAgainAfterItsDeletion();
    void numberKeptWhenSavedInTheNextYear();
    void monthUsedUpRefusesTheInsert();
    void datesReadYearMonthDayFromTheFirstInsert();
    void linesPricedNumberedAndTotalled();
    void unknownProductTold();
    void deletedLineRenumbersTheOthers();
    void pendingDeletionFreesItsNumbers();
    void lineNumbersThatCannotGoOn();
    void totalsOutOfRangeStopTheSave();
    void fullWidthQuantityReachesTheSavedLine();
    void lineAmountOutOfRangeNeverStoredHalf();
    void saveChecksInOrder();
    void saveWritesHeaderAndLines();
    void failedSaveWritesNothingAndKeepsEverything();
    void takenNumberMovesToTheNextFree();
    void failedSaveUnderATakenNumberKeepsLinesWithTheirHeader();
    void cancelLeavesNothing();
    void headerChangedByAnotherUserReloadsKeepingTheTypedFields();
    void deleteAsksAndTakesTheLines();
    void failedDeleteKeepsTheQuotation();
    void productListFillsTheLine();
    void linesChangeOnlyInEditingMode();
    void lookupBoxesAndPickers();
    void closeOnlyFromBrowseMode();
    void storedLineThatOverflowsShowsEmpty();
    void unknownProductBeingTypedToldOnceAtSave();
    void lookupListsOfferRowsAddedLater();
    void columnsAsWideAsTheirFields();
    void deleteAfterAChoiceWhileBrowsingSaysWhy();

private:
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestQuoteScreen::initTestCase()
{
    main = new Tmain;
}

void TestQuoteScreen::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    ShortDate::resetToSystem();
    Clock::setToday(QDate(2024, 5, 17));
    m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerAttribName) VALUES "
                              "('CU000001', '大華'), ('CU000002', '長青')"));
    m_db->exec(QStringLiteral("INSERT INTO Employee (EmployeeID, EmployeeName) VALUES "
                              "('EM000001', '王小明')"));
    m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) VALUES "
                              "('PR000001', '磁磚'), ('PR000002', '地板'), ('PR000003', '油漆')"));
    Form28 = new TProductPicker;
    Quote = new TQuote;
    Quote->show();
    QApplication::setActiveWindow(Quote);
    QVERIFY(QTest::qWaitForWindowActive(Quote));
}

void TestQuoteScreen::cleanup()
{
    delete Quote;
    Quote = nullptr;
    delete Form28;
    Form28 = nullptr;
    main->hide();
    m_db.reset();
    Clock::setToday(QDate());
    ShortDate::resetToSystem();
}

void TestQuoteScreen::layout()
{
    QCOMPARE(Quote->objectName(), QStringLiteral("Quote"));
    QCOMPARE(Quote->windowTitle(), QStringLiteral("報價單"));
    QVERIFY(quoteHeaders()->Active() && quoteLines()->Active());
    QVERIFY(quoteLines()->CachedUpdates());
    QCOMPARE(mode(), Mode::Browse);
    QVERIFY(control("DBEdit4")->isEnabled()); // until the modes first switch

    const std::pair<const char *, const char *> labels[] = {
        {"Label1", "單據編號"}, {"Label2", "單據日期"}, {"Label3", "客戶編號"},
        {"Label4", "員工編號"}, {"Label5", "有效日期"}, {"Label6", "備註"},
        {"Label7", "合計金額"}, {"Label8", "營業稅額"}, {"Label9", "總計金額"}};
    for (const auto &[name, caption] : labels)
        QCOMPARE(control<QLabel>(name)->text(), QString::fromUtf8(caption));
    const std::pair<const char *, const char *> bound[] = {
        {"DBEdit1", "QuoteID"},  {"DBEdit2", "QuoteDate"},   {"DBEdit3", "CUST_SNA"},
        {"DBEdit4", "EM_NA"},    {"DBEdit5", "AvailableDate"}, {"DBEdit6", "SubTotal"},
        {"DBEdit7", "ValueAddTax"}, {"DBEdit8", "Amount"}};
    for (const auto &[name, field] : bound)
        QCOMPARE(control<DBEdit>(name)->dataField(), QString::fromLatin1(field));
    QCOMPARE(control<DBMemo>("DBMemo1")->dataField(), QStringLiteral("Memo"));

    const std::pair<const char *, QColor> colours[] = {
        {"DBEdit1", QColor(0xFFFF00)}, {"DBEdit2", QColor(0xA6CAF0)},
        {"DBEdit3", QColor(0x008080)}, {"DBEdit4", QColor(0x008080)},
        {"DBEdit5", QColor(0xC0DCC0)}, {"DBEdit6", QColor(0xC0DCC0)},
        {"DBEdit7", QColor(0xC0DCC0)}, {"DBEdit8", QColor(0xC0DCC0)}};
    for (const auto &[name, colour] : colours)
        QCOMPARE(control(name)->palette().color(QPalette::Base), colour);
    for (const char *name : {"DBEdit3", "DBEdit4"}) {
        QVERIFY(control<DBEdit>(name)->isReadOnly());
        QCOMPARE(control(name)->palette().color(QPalette::Text), QColor(Qt::white));
    }
    for (const char *name : {"DateTimePicker1", "DateTimePicker2"}) {
        QCOMPARE(control<DatePicker>(name)->date(), QDate(2006, 8, 22));
        QCOMPARE(control(name)->width(), 17);
    }
    QCOMPARE(inputMethodName(control("DBEdit2")), ime::Cangjie);

    const char *captions[][2] = {{"sbFirst", "第一筆"}, {"sbPrior", "上一筆"},
                                 {"sbNext", "下一筆"},  {"sbLast", "最後一筆"},
                                 {"sbInsert", "新增"},  {"sbDelete", "刪除"},
                                 {"sbEdit", "修改"},    {"sbPost", "儲存"},
                                 {"sbCancel", "取消"},  {"sbRefresh", "查詢"}};
    for (const auto &[name, caption] : captions) {
        QCOMPARE(control<QToolButton>(name)->text(), QString::fromUtf8(caption));
        QCOMPARE(control(name)->size(), QSize(50, 29));
    }
    QCOMPARE(control<QPushButton>("Button1")->text(), QStringLiteral("結束"));

    // The grid: QuoteID and SEQ hidden, then the titled columns.
    const QStringList titles{"項次", "產品編號", "產品名稱", "數量", "單位", "單價", "金額", "備註"};
    QCOMPARE(grid()->model()->columnCount(), int(titles.size()));
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(grid()->model()->headerData(i, Qt::Horizontal).toString(), titles[i]);
    QCOMPARE(grid()->columnWidth(Name), 135);
    const QList<GridColumn> columns = grid()->columns();
    for (const GridColumn &c : columns) {
        const bool teal = c.fieldName == "QdetailID" || c.fieldName == "Amount";
        QCOMPARE(c.readOnly, teal);
        QCOMPARE(c.color == QColor(0x008080) && c.fontColor == QColor(Qt::white), teal);
        QCOMPARE(c.editButton, c.fieldName == "ProductID");
        QCOMPARE(c.visible, c.fieldName != "QuoteID" && c.fieldName != "SEQ");
    }
}

void TestQuoteScreen::modesFollowTheButtons()
{
    // Edit with no quotation at all still switches; Cancel switches back, nothing changed.
    press("sbEdit");
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);
    press("sbCancel");
    QCOMPARE(mode(), Mode::Browse);
    QVERIFY(!control("DBEdit4")->isEnabled());
    QCOMPARE(m_db->count("QuoteMaster"), 0);

    press("sbInsert");
    QCOMPARE(mode(), Mode::Editing);
    QVERIFY(control("DBEdit4")->isEnabled());
    QCOMPARE(quoteHeaders()->State(), DataSetState::Insert);
    const QString number = text("DBEdit1");
    press("sbInsert"); // again: only the switch is repeated
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(text("DBEdit1"), number);
    QCOMPARE(text("DBEdit6"), QStringLiteral("0"));
    QCOMPARE(text("DBEdit7"), QStringLiteral("0"));
    QCOMPARE(text("DBEdit8"), QStringLiteral("0"));
    QCOMPARE(quoteHeaders()->FieldByName("QuoteDate")->AsDateTime().date(), QDate(2024, 5, 17));
    for (const char *empty : {"AvailableDate", "CustomerID", "EmployeeID", "Memo"})
        QVERIFY(quoteHeaders()->FieldByName(QLatin1String(empty))->IsNull());
    press("sbCancel");
    QCOMPARE(mode(), Mode::Browse);
}

void TestQuoteScreen::highestNumberAgainAfterItsDeletion()
{
    m_db->seedQuote("OD24050009");
    m_db->seedQuote("OD24050010", {"001:001:PR000001:1:10"});
    press("sbRefresh");
    press("sbLast");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050010"));
    {
        ModalAnswer yes(QMessageBox::Yes);
        press("sbDelete");
        QCOMPARE(yes.seen(), 1);
    }
    press("sbInsert");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050010"));
}

void TestQuoteScreen::numberKeptWhenSavedInTheNextYear()
{
    Clock::setToday(QDate(2024, 12, 31));
    press("sbInsert");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24120001"));
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 100);
    Clock::setToday(QDate(2025, 1, 1));
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->scalar("SELECT QuoteID || ' ' || QuoteDate FROM QuoteMaster").toString(),
             QStringLiteral("OD24120001 2024-12-31"));
    press("sbInsert");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD25010001"));
}

void TestQuoteScreen::monthUsedUpRefusesTheInsert()
{
    m_db->seedQuote("OD24059999");
    ModalAnswer ok(QMessageBox::Ok);
    press("sbInsert");
    QCOMPARE(ok.text(), quotenumbers::MonthUsedUpMessage);
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24059999"));
}

void TestQuoteScreen::datesReadYearMonthDayFromTheFirstInsert()
{
    ShortDate::useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_db->seedQuote("OD24050001");
    press("sbRefresh");
    const QString system = ShortDate::format(QDate(2024, 5, 1));
    QVERIFY(system != QStringLiteral("2024/05/01"));
    QCOMPARE(text("DBEdit2"), system);

    press("sbInsert");
    QCOMPARE(text("DBEdit2"), QStringLiteral("2024/05/17"));
    press("sbCancel");
    QCOMPARE(text("DBEdit2"), QStringLiteral("2024/05/01")); // for the rest of the run
}

void TestQuoteScreen::linesPricedNumberedAndTotalled()
{
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 2, 1250);
    QCOMPARE(cell(0, Amount), QStringLiteral("2500"));
    QCOMPARE(cell(0, Item), QString()); // numbered when posted
    clickCell(0, Product);
    QTest::keyClick(focused(), Qt::Key_Down); // posts it and starts the next
    QCOMPARE(cell(0, Item), QStringLiteral("001"));
    QCOMPARE(text("DBEdit6"), QStringLiteral("2500"));
    // A new line starts at quantity 0, price 0, amount 0.
    QCOMPARE(cell(1, Quantity), QStringLiteral("0"));
    QCOMPARE(cell(1, Price), QStringLiteral("0"));
    QCOMPARE(cell(1, Amount), QStringLiteral("0"));
    typeIntoCell(1, Product, "PR000002");
    typeIntoCell(1, Quantity, "3");
    typeIntoCell(1, Price, "333");
    addLine("PR000003", 1, 0);
    leaveLine();
    QCOMPARE(text("DBEdit6"), QStringLiteral("3499"));
    QCOMPARE(text("DBEdit7"), QStringLiteral("175"));
    QCOMPARE(text("DBEdit8"), QStringLiteral("3674"));
    // Numbered 001, 002, 003 while still pending, stored and pending lines alike.
    QCOMPARE(m_db->count("QuoteDetail"), 0);
    QCOMPARE(test::walk(*quoteLines(), "SEQ"), (QStringList{"001", "002", "003"}));
    QCOMPARE(test::walk(*quoteLines(), "QdetailID"), (QStringList{"001", "002", "003"}));
}

void TestQuoteScreen::unknownProductTold()
{
    press("sbInsert");
    clickCell(0, Product);
    {
        ModalAnswer ok(QMessageBox::Ok);
        type("PR999999");
        clickCell(0, Quantity); // the cell is left: the product is checked once
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), QuoteSession::ProductMissing);
        QCOMPARE(ok.caption(), applicationTitle());
        QCOMPARE(ok.icon(), QMessageBox::NoIcon);
    }
    QCOMPARE(cell(0, Product), QStringLiteral("PR999999")); // kept
    // Tab and Return leave the cell as well.
    for (const auto &[key, typed] : {std::pair{Qt::Key_Tab, "PR99999"},
                                     {Qt::Key_Return, "PR9999"}}) {
        clickCell(0, Product);
        ModalAnswer ok(QMessageBox::Ok);
        type(QString::fromLatin1(typed));
        QTest::keyClick(focused(), key);
        QTRY_COMPARE(ok.seen(), 1); // (Return commits from the event loop)
        QTest::qWait(20);
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(cell(0, Product), QString::fromLatin1(typed));
    }
    clickCell(0, Quantity);
    type("5");
    quoteLines()->Post(); // and the line can be posted all the same
    QCOMPARE(quoteLines()->FieldByName("SEQ")->AsString(), QStringLiteral("001"));
    QCOMPARE(text("DBEdit6"), QStringLiteral("0"));
}

void TestQuoteScreen::deletedLineRenumbersTheOthers()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100", "002:002:PR000002:2:100",
                             "003:003:PR000003:3:100"});
    press("sbRefresh");
    press("sbEdit");
    clickCell(1, Quantity);
    {
        ModalAnswer ok(QMessageBox::Ok);
        QTest::keyClick(focused(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(ok.text(), QStringLiteral("Delete record?"));
    }
    QCOMPARE(test::walk(*quoteLines(), "QdetailID"), (QStringList{"001", "002"}));
    QCOMPARE(test::walk(*quoteLines(), "SEQ"), (QStringList{"001", "003"}));
    QCOMPARE(text("DBEdit6"), QStringLiteral("400"));
    addLine("PR000001", 4, 100);
    leaveLine();
    QCOMPARE(test::walk(*quoteLines(), "SEQ"), (QStringList{"001", "003", "004"}));
    QCOMPARE(test::walk(*quoteLines(), "QdetailID"), (QStringList{"001", "002", "003"}));
    QCOMPARE(text("DBEdit6"), QStringLiteral("800"));
    QCOMPARE(m_db->count("QuoteDetail"), 3); // pending until Save

    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->scalar("SELECT group_concat(SEQ || '/' || QdetailID || '/' || Quantity) "
                          "FROM (SELECT * FROM QuoteDetail ORDER BY SEQ) t").toString(),
             QStringLiteral("001/001/1,003/002/3,004/003/4"));
    QCOMPARE(m_db->scalar("SELECT SubTotal || '/' || ValueAddTax || '/' || Amount "
                          "FROM QuoteMaster").toString(),
             QStringLiteral("800/40/840"));
}

void TestQuoteScreen::pendingDeletionFreesItsNumbers()
{
    // The last stored line deleted but not yet saved: the next line takes its numbers, and
    // the save writes the deletion before the new line.
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100", "002:002:PR000002:2:100"});
    press("sbRefresh");
    press("sbEdit");
    clickCell(1, Quantity);
    {
        ModalAnswer ok(QMessageBox::Ok);
        QTest::keyClick(focused(), Qt::Key_Delete, Qt::ControlModifier);
    }
    addLine("PR000003", 3, 100);
    leaveLine();
    QCOMPARE(test::walk(*quoteLines(), "SEQ"), (QStringList{"001", "002"}));
    QCOMPARE(test::walk(*quoteLines(), "ProductID"), (QStringList{"PR000001", "PR000003"}));
    press("sbPost");
    QCOMPARE(m_db->scalar("SELECT group_concat(SEQ || '/' || QdetailID || '/' || ProductID) "
                          "FROM (SELECT * FROM QuoteDetail ORDER BY SEQ) t").toString(),
             QStringLiteral("001/001/PR000001,002/002/PR000003"));
}

void TestQuoteScreen::lineNumbersThatCannotGoOn()
{
    // A quotation whose line numbers reached 999 takes no further line; a stored number
    // that is not a number stops the numbering with the conversion error.
    m_db->seedQuote("OD24050001", {"999:001:PR000001:1:1"});
    m_db->seedQuote("OD24050002", {"abc:001:PR000001:1:1"});
    press("sbRefresh");
    const std::pair<const char *, QString> cases[] = {
        {"OD24050001", quotenumbers::LinesUsedUpMessage},
        {"OD24050002", QStringLiteral("'abc' is not a valid integer value for field 'SEQ'")}};
    for (const auto &[quote, message] : cases) {
        QVERIFY(quoteHeaders()->Locate("QuoteID", QString::fromLatin1(quote)));
        press("sbEdit");
        addLine("PR000002", 1, 1);
        ModalAnswer ok(QMessageBox::Ok);
        QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(ok.text(), message);
        QCOMPARE(quoteLines()->State(), DataSetState::Insert); // not posted
        press("sbCancel");
    }
    QCOMPARE(m_db->count("QuoteDetail"), 2);
}

void TestQuoteScreen::totalsOutOfRangeStopTheSave()
{
    // Two lines whose sum an integer field cannot hold: told when the totals are made, and
    // never saved with totals that are wrong.
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 2000000000);
    {
        ModalAnswer ok(QMessageBox::Ok);
        addLine("PR000002", 1, 2000000000); // moving to the new row posts the first
        QCOMPARE(ok.seen(), 0);
        leaveLine();
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().contains("SubTotal"), qPrintable(ok.text()));
        QVERIFY2(ok.text().startsWith(QStringLiteral("「合計金額」的值 4000000000 ")),
                 qPrintable(ok.text()));
    }
    // The totals stay those of the first line: none of them is written alone.
    QCOMPARE(text("DBEdit6") + '/' + text("DBEdit7") + '/' + text("DBEdit8"),
             QStringLiteral("2000000000/100000000/2100000000"));
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().contains("SubTotal"), qPrintable(ok.text()));
    }
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
}

void TestQuoteScreen::fullWidthQuantityReachesTheSavedLine()
{
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    typeIntoCell(0, Product, "PR000001");
    clickCell(0, Quantity);
    typeWide(QStringLiteral("１２"));
    typeIntoCell(0, Price, "5");
    QCOMPARE(cell(0, Quantity), QStringLiteral("12"));
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->scalar("SELECT Quantity || '/' || Price FROM QuoteDetail").toString(),
             QStringLiteral("12/5"));
    QCOMPARE(m_db->scalar("SELECT SubTotal FROM QuoteMaster").toInt(), 60);
}

void TestQuoteScreen::lineAmountOutOfRangeNeverStoredHalf()
{
    // 2147483647 x 2147483647: the price no amount can hold is refused where it is typed,
    // named by the columns' titles, and the line goes nowhere without it.
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    typeIntoCell(0, Product, "PR000001");
    typeIntoCell(0, Quantity, "2147483647");
    {
        ModalAnswer ok(QMessageBox::Ok, 3);
        typeIntoCell(0, Price, "2147483647");
        clickCell(0, Product);
        QCOMPARE(ok.seen(), 1);
        const QStringList lines = ok.text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("填入「單價」後,「金額」會是 46116860141"))
                     && lines[0].contains(QStringLiteral("2147483647")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(QStringLiteral("Field 'Price': the calculated value "))
                     && lines[1].contains(QStringLiteral("of field 'Amount' is out of range")),
                 qPrintable(lines[1]));
        // Moving on at once, before the cell is offered again, does not post the line
        // with the price it had.
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(ok.seen(), 2);
        QCOMPARE(ok.text(1), ok.text());
        QCOMPARE(gridRows(), 1);
        // Save says it once more, and stores nothing.
        press("sbPost");
        QCOMPARE(ok.seen(), 3);
        QCOMPARE(ok.text(2), ok.text());
    }
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);

    // The refused price is offered again; 1 fits the line but not the total with its tax:
    // the totals are refused whole at save, and the boxes never show part of them.
    QTRY_VERIFY(qobject_cast<QLineEdit *>(focused()));
    auto *editor = qobject_cast<QLineEdit *>(focused());
    QCOMPARE(editor->text(), QStringLiteral("2147483647"));
    QCOMPARE(grid()->currentIndex().column(), int(Price));
    editor->selectAll();
    type("1");
    {
        ModalAnswer ok(QMessageBox::Ok, 2);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().startsWith(QStringLiteral("「總計金額」的值 2254857829 ")),
                 qPrintable(ok.text()));
        QVERIFY2(ok.text().contains(QStringLiteral("\n'2254857829' is not a valid integer "
                                                   "value for field 'Amount'")),
                 qPrintable(ok.text()));
    }
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
    QCOMPARE(text("DBEdit6"), QStringLiteral("0"));
    QCOMPARE(text("DBEdit8"), QStringLiteral("0"));

    // Corrected, the quotation is stored exactly as the grid and the totals show it.
    typeIntoCell(0, Quantity, "100");
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(cell(0, Quantity) + '/' + cell(0, Price) + '/' + cell(0, Amount),
             QStringLiteral("100/1/100"));
    QCOMPARE(text("DBEdit6") + '/' + text("DBEdit7") + '/' + text("DBEdit8"),
             QStringLiteral("100/5/105"));
    QCOMPARE(m_db->scalar("SELECT group_concat(Quantity || '/' || Price) FROM QuoteDetail")
                 .toString(),
             QStringLiteral("100/1"));
    QCOMPARE(m_db->scalar("SELECT SubTotal || '/' || ValueAddTax || '/' || Amount "
                          "FROM QuoteMaster").toString(),
             QStringLiteral("100/5/105"));
}

void TestQuoteScreen::saveChecksInOrder()
{
    press("sbInsert");
    {
        // No line: the product check fails first, with a plain message.
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), QuoteSession::ProductMissing);
        QCOMPARE(ok.caption(), applicationTitle());
    }
    QCOMPARE(mode(), Mode::Editing);
    addLine("PR000001", 1, 10);

    const std::pair<QString, QString> customers[] = {
        {QString(), QuoteSession::CustomerBlank},
        {QStringLiteral("   "), QuoteSession::CustomerBlank},
        {QStringLiteral("CU999999"), QuoteSession::CustomerWrong},
        {QStringLiteral("CU00001 "), QuoteSession::CustomerWrong}};
    for (const auto &[customer, message] : customers) {
        quoteHeaders()->FieldByName("CustomerID")->setAsString(customer);
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1); // stops silently after the warning
        QCOMPARE(ok.text(), message);
        QCOMPARE(ok.caption(), QStringLiteral("Warning"));
        QCOMPARE(ok.icon(), QMessageBox::Warning);
        QCOMPARE(ok.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(Quote->focusWidget(), control("DBEdit3"));
        QCOMPARE(mode(), Mode::Editing);
        QCOMPARE(quoteHeaders()->State(), DataSetState::Insert);
        QCOMPARE(m_db->count("QuoteMaster"), 0);
        QCOMPARE(m_db->count("QuoteDetail"), 0);
    }
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->count("QuoteDetail"), 1);
}

void TestQuoteScreen::saveWritesHeaderAndLines()
{
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000002");
    quoteHeaders()->FieldByName("EmployeeID")->setAsString("EM000001");
    QCOMPARE(text("DBEdit3"), QStringLiteral("長青"));
    QCOMPARE(text("DBEdit4"), QStringLiteral("王小明"));
    control<DBMemo>("DBMemo1")->setFocus();
    type("ok");
    addLine("PR000001", 2, 1250);
    QTest::keyClick(focused(), Qt::Key_Down);

    typeIntoCell(1, Product, "PR000002");
    typeIntoCell(1, Quantity, "3");
    typeIntoCell(1, Price, "333"); // left unposted: Save posts it
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->scalar("SELECT QuoteID || '/' || QuoteDate || '/' || CustomerID || '/' || "
                          "EmployeeID || '/' || Memo || '/' || SubTotal || '/' || "
                          "ValueAddTax || '/' || Amount FROM QuoteMaster").toString(),
             QStringLiteral("OD24050001/2024-05-17/CU000002/EM000001/ok/3499/175/3674"));
    QCOMPARE(m_db->scalar("SELECT group_concat(QuoteID || '/' || SEQ || '/' || QdetailID || "
                          "'/' || ProductID || '/' || Quantity || '/' || Price || '/' || "
                          "coalesce(CAST(Amount AS VARCHAR(12)), 'none')) "
                          "FROM (SELECT * FROM QuoteDetail ORDER BY SEQ) t").toString(),
             QStringLiteral("OD24050001/001/001/PR000001/2/1250/none,"
                            "OD24050001/002/002/PR000002/3/333/none"));
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050001"));
    QCOMPARE(gridRows(), 2);
}

void TestQuoteScreen::failedSaveWritesNothingAndKeepsEverything()
{
    // The file refuses the third line.
    m_db->refuse("RefuseThird", "INSERT", "QuoteDetail",
                 "(SELECT count(*) FROM QuoteDetail WHERE QuoteID = NEW.QuoteID) >= 2",
                 "third line refused");
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 100);
    addLine("PR000002", 2, 100);
    addLine("PR000003", 3, 100);
    leaveLine();
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().contains("third line refused"), qPrintable(ok.text()));
        QCOMPARE(ok.icon(), QMessageBox::Critical);
    }
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Insert);
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050001"));
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000001"));
    QCOMPARE(text("DBEdit6"), QStringLiteral("600"));
    QVERIFY(quoteLines()->UpdatesPending());
    QCOMPARE(test::walk(*quoteLines(), "ProductID"),
             (QStringList{"PR000001", "PR000002", "PR000003"}));
    QCOMPARE(test::walk(*quoteLines(), "SEQ"), (QStringList{"001", "002", "003"}));

    m_db->dropRefusal("RefuseThird", "QuoteDetail");
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->scalar("SELECT group_concat(ProductID) FROM (SELECT * FROM QuoteDetail "
                          "WHERE QuoteID = 'OD24050001' ORDER BY SEQ) t").toString(),
             QStringLiteral("PR000001,PR000002,PR000003"));
}

void TestQuoteScreen::takenNumberMovesToTheNextFree()
{
    press("sbInsert");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050001"));
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 100);
    addLine("PR000002", 2, 100);
    // Meanwhile a second copy of the application saves the same number.
    m_db->seedQuote("OD24050001", {"001:001:PR000003:9:9"});
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), TQuote::NumberTakenMessage.arg("OD24050001", "OD24050002"));
        QCOMPARE(ok.caption(), applicationTitle());
    }
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050002"));
    const auto lines = [this](const char *quote) {
        return m_db->scalar("SELECT group_concat(ProductID || '*' || Quantity) FROM (SELECT * "
                            "FROM QuoteDetail WHERE QuoteID = ? ORDER BY SEQ) t",
                            {QString::fromLatin1(quote)}).toString();
    };
    QCOMPARE(lines("OD24050002"), QStringLiteral("PR000001*1,PR000002*2"));
    QCOMPARE(lines("OD24050001"), QStringLiteral("PR000003*9")); // the other one's, untouched
    QCOMPARE(m_db->scalar("SELECT SubTotal FROM QuoteMaster WHERE QuoteID = 'OD24050002'")
                 .toInt(), 300);
}

void TestQuoteScreen::failedSaveUnderATakenNumberKeepsLinesWithTheirHeader()
{
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 100);
    addLine("PR000002", 2, 100);
    leaveLine();
    // Another copy saves the same number, and the book refuses this save's lines once.
    m_db->seedQuote("OD24050001", {"001:001:PR000003:9:9"});
    m_db->refuse("RefuseMine", "INSERT", "QuoteDetail", "NEW.Quantity < 9", "refused once");
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().contains("refused once"), qPrintable(ok.text()));
    }
    // The lines still stand under the header they were typed for.
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(test::walk(*quoteLines(), "ProductID"), (QStringList{"PR000001", "PR000002"}));
    m_db->dropRefusal("RefuseMine", "QuoteDetail");
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1); // the number taken, and the one it was saved under
    }
    QCOMPARE(mode(), Mode::Browse);
    const auto lines = [this](const char *quote) {
        return m_db->scalar("SELECT group_concat(ProductID) FROM (SELECT * FROM QuoteDetail "
                            "WHERE QuoteID = ? ORDER BY SEQ) t",
                            {QString::fromLatin1(quote)}).toString();
    };
    QCOMPARE(lines("OD24050001"), QStringLiteral("PR000003")); // the other one's, untouched
    QCOMPARE(lines(qPrintable(text("DBEdit1"))), QStringLiteral("PR000001,PR000002"));
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050002"));
}

void TestQuoteScreen::cancelLeavesNothing()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100"});
    press("sbRefresh");
    press("sbInsert");
    addLine("PR000002", 2, 100);
    leaveLine();
    press("sbCancel");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->count("QuoteDetail"), 1);
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050001"));
    QCOMPARE(gridRows(), 1);
    QVERIFY(!quoteLines()->UpdatesPending());

    // Line changes of a stored quotation are dropped the same way.
    press("sbEdit");
    clickCell(0, Quantity);
    type("7");
    leaveLine();
    press("sbCancel");
    QCOMPARE(cell(0, Quantity), QStringLiteral("1"));
    QCOMPARE(m_db->scalar("SELECT Quantity FROM QuoteDetail").toInt(), 1);
}

// Another PC changed the stored header while it was being edited here: Yes to the question
// keeps what was typed (the memo) and takes the rest from the stored header (the customer);
// the next save writes over it.
void TestQuoteScreen::headerChangedByAnotherUserReloadsKeepingTheTypedFields()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100"});
    press("sbRefresh");
    press("sbEdit");
    control<DBMemo>("DBMemo1")->setFocus();
    type("ok");
    m_db->exec("UPDATE QuoteMaster SET Memo = 'theirs', CustomerID = 'CU000002'");
    {
        ModalAnswer yes(QMessageBox::Yes);
        press("sbPost");
        QCOMPARE(yes.seen(), 1);
        QVERIFY2(yes.text().startsWith(RecordChangedError::Sentence), qPrintable(yes.text()));
    }
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(header("Memo"), QStringLiteral("ok"));
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000002"));
    press("sbPost");
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->scalar("SELECT Memo || '/' || CustomerID || '/' || Amount FROM QuoteMaster")
                 .toString(),
             QStringLiteral("ok/CU000002/105"));
}

void TestQuoteScreen::deleteAsksAndTakesTheLines()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100"});
    m_db->seedQuote("OD24050002", {"001:001:PR000001:1:100", "002:002:PR000002:2:100",
                             "003:003:PR000003:3:100"});
    m_db->seedQuote("OD24050003");
    press("sbRefresh");
    press("sbNext");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050002"));
    {
        ModalAnswer no(QMessageBox::No);
        press("sbDelete");
        QCOMPARE(no.text(), TQuote::DeleteQuestion);
        QCOMPARE(no.caption(), QStringLiteral("Confirm"));
        QCOMPARE(no.icon(), QMessageBox::Question);
        QCOMPARE(no.buttons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(no.defaultButton(), QMessageBox::Yes);
    }
    {
        ModalAnswer escape = ModalAnswer::closing();
        press("sbDelete");
        QCOMPARE(escape.seen(), 1);
    }
    QCOMPARE(m_db->count("QuoteMaster"), 3);
    QCOMPARE(m_db->count("QuoteDetail"), 4);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);
    QCOMPARE(gridRows(), 3);

    {
        ModalAnswer yes(QMessageBox::Yes);
        press("sbDelete");
        QCOMPARE(yes.seen(), 1);
    }
    QCOMPARE(mode(), Mode::Browse);
    QCOMPARE(m_db->count("QuoteMaster"), 2);
    QCOMPARE(m_db->scalar("SELECT count(*) FROM QuoteDetail WHERE QuoteID = 'OD24050002'")
                 .toInt(), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 1);
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050003")); // the neighbour
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);
    QVERIFY(!quoteLines()->UpdatesPending());
}

void TestQuoteScreen::failedDeleteKeepsTheQuotation()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100", "002:002:PR000002:2:100"});
    m_db->exec("UPDATE QuoteMaster SET SubTotal = 300");
    m_db->refuse("KeepHeaders", "DELETE", "QuoteMaster", {}, "headers stay");
    press("sbRefresh");
    {
        ModalAnswer answers(QMessageBox::Yes, 2); // the question, then the error
        press("sbDelete");
        QCOMPARE(answers.seen(), 2);
        QVERIFY(answers.text(1).contains("headers stay"));
    }
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->count("QuoteDetail"), 2);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);
    QVERIFY(!quoteLines()->UpdatesPending());
    QCOMPARE(gridRows(), 2);
    QCOMPARE(text("DBEdit6"), QStringLiteral("300"));

    m_db->dropRefusal("KeepHeaders", "QuoteMaster");
    ModalAnswer yes(QMessageBox::Yes);
    press("sbDelete");
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    QCOMPARE(m_db->count("QuoteDetail"), 0);
}

void TestQuoteScreen::productListFillsTheLine()
{
    press("sbInsert");
    QToolButton *button = grid()->findChild<QToolButton *>(QStringLiteral("EditButton"));
    QVERIFY(button);
    clickCell(0, Name);
    QVERIFY(!button->isVisible()); // in the product number column only
    clickCell(0, Product);
    QTRY_VERIFY(button->isVisible());

    {
        ModalAction pick([](QDialog *dialog) {
            auto *list = dialog->findChild<DBGrid *>(QStringLiteral("DBGrid1"));
            const QRect row = list->visualRect(list->model()->index(1, 1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseClick(dialog->findChild<QPushButton *>("Button1"), Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(pick.done());
    }
    QCOMPARE(cell(0, Product), QStringLiteral("PR000002"));
    QCOMPARE(cell(0, Name), QStringLiteral("地板"));
    QCOMPARE(cell(0, Quantity), QStringLiteral("0"));
    QCOMPARE(cell(0, Price), QStringLiteral("0"));

    typeIntoCell(0, Price, "55");
    clickCell(0, Product);
    {
        ModalAction cancel([](QDialog *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>("Button2"), Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(cancel.done());
    }
    QCOMPARE(cell(0, Product), QStringLiteral("PR000002"));
    QCOMPARE(cell(0, Price), QStringLiteral("55"));
}

void TestQuoteScreen::linesChangeOnlyInEditingMode()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100"});
    press("sbRefresh");
    clickCell(0, Quantity);
    type("9");
    QTest::keyClick(focused(), Qt::Key_Down);
    QTest::keyClick(focused(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(quoteLines()->State(), DataSetState::Browse);
    QCOMPARE(gridRows(), 1);
    QCOMPARE(cell(0, Quantity), QStringLiteral("1"));
    QVERIFY(!quoteLines()->UpdatesPending());
    QVERIFY(!grid()->findChild<QToolButton *>(QStringLiteral("EditButton"))->isVisible());

    // "查詢" reads the headers and the current one's lines again.
    m_db->exec("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, ProductID, Quantity, Price) "
               "VALUES ('OD24050001', '002', '002', 'PR000002', 2, 5)");
    m_db->seedQuote("OD24050002");
    press("sbRefresh");
    QCOMPARE(gridRows(), 2);
    press("sbNext");
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050002"));
}

void TestQuoteScreen::lookupBoxesAndPickers()
{
    m_db->seedQuote("OD24050001");
    m_db->seedQuote("OD24050002");
    press("sbRefresh");
    // Choosing in browse mode edits the header while the toolbar stays in browse mode.
    auto *customers = control<DBLookupComboBox>("EditCUSTID");
    customers->showPopup();
    customers->hidePopup();
    emit customers->activated(1);
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000002"));
    QCOMPARE(text("DBEdit3"), QStringLiteral("長青"));
    QCOMPARE(quoteHeaders()->State(), DataSetState::Edit);
    QCOMPARE(mode(), Mode::Browse);
    press("sbNext"); // does nothing until Edit and Save end it
    QCOMPARE(text("DBEdit1"), QStringLiteral("OD24050001"));
    press("sbEdit");
    QCOMPARE(mode(), Mode::Editing);
    press("sbCancel"); // drops the choice
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000001"));
    QCOMPARE(quoteHeaders()->State(), DataSetState::Browse);

    // The pickers write their date into the box in the format of the day.
    press("sbInsert");
    control<DatePicker>("DateTimePicker2")->pick(QDate(2024, 6, 30));
    QCOMPARE(text("DBEdit5"), QStringLiteral("2024/06/30"));
    QCOMPARE(control<DatePicker>("DateTimePicker1")->date(), QDate(2006, 8, 22));
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    addLine("PR000001", 1, 1);
    press("sbPost");
    QCOMPARE(m_db->scalar("SELECT AvailableDate FROM QuoteMaster WHERE QuoteID = "
                          "'OD24050003'").toString(),
             QStringLiteral("2024-06-30"));
    QCOMPARE(control<DatePicker>("DateTimePicker2")->date(), QDate(2024, 6, 30));
}

void TestQuoteScreen::closeOnlyFromBrowseMode()
{
    main->hide();
    press("sbInsert");
    QVERIFY(!Quote->close());
    QVERIFY(Quote->isVisible());
    press("sbCancel");
    QVERIFY(Quote->close());
    QVERIFY(main->isVisible());
    QVERIFY(!Quote->isVisible());
    Quote->show();
    main->hide();
    press("Button1");
    QVERIFY(main->isVisible());
    QVERIFY(!Quote->isVisible());
}

void TestQuoteScreen::storedLineThatOverflowsShowsEmpty()
{
    delete Quote;
    m_db->seedQuote("OD24050001", {"001:001:PR000001:100000:100000", "002:002:PR000002:2:5"});
    Quote = new TQuote; // opening must not fail on the line
    Quote->show();
    QCOMPARE(cell(0, Amount), QString());
    QCOMPARE(cell(1, Amount), QStringLiteral("10"));

    // Shown empty, the line still counts: the save refuses the total, never writes 10.
    press("sbEdit");
    {
        ModalAnswer ok(QMessageBox::Ok);
        press("sbPost");
        QCOMPARE(ok.seen(), 1);
        QVERIFY2(ok.text().contains("SubTotal"), qPrintable(ok.text()));
    }
    QCOMPARE(mode(), Mode::Editing);
    QVERIFY(m_db->scalar("SELECT SubTotal FROM QuoteMaster").isNull());
}

void TestQuoteScreen::unknownProductBeingTypedToldOnceAtSave()
{
    press("sbInsert");
    quoteHeaders()->FieldByName("CustomerID")->setAsString("CU000001");
    clickCell(0, Product);
    type("PR999999"); // the cell is still open when the user saves
    {
        ModalAnswer ok(QMessageBox::Ok, 2);
        press("sbPost");
        QTest::qWait(20);
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), QuoteSession::ProductMissing);
    }
    QCOMPARE(mode(), Mode::Editing);
    QCOMPARE(m_db->count("QuoteMaster"), 0);
    // Saved again with nothing typed meanwhile, the check still tells.
    ModalAnswer again(QMessageBox::Ok, 2);
    press("sbPost");
    QTest::qWait(20);
    QCOMPARE(again.seen(), 1);
}

void TestQuoteScreen::lookupListsOfferRowsAddedLater()
{
    m_db->seedQuote("OD24050001");
    press("sbRefresh");
    auto *customers = control<DBLookupComboBox>("EditCUSTID");
    auto *employees = control<DBLookupComboBox>("EditEMPID");
    customers->showPopup();
    customers->hidePopup();
    employees->showPopup();
    employees->hidePopup();
    QCOMPARE(customers->loadedRowCount(), 2);
    QCOMPARE(employees->loadedRowCount(), 1);

    // A customer added on the customer screen meanwhile, as a user adds one.
    {
        TCustomer screen;
        screen.show();
        const test::ScreenDriver ui(&screen);
        ui.press("sbInsert");
        QCOMPARE(ui.text("DBEdit1"), QStringLiteral("CU000003"));
        ui.type("DBEdit2", QStringLiteral("Lin"));
        ui.type("DBEdit3", QStringLiteral("Lin Co"));
        ui.type("DBEdit4", QStringLiteral("04595252"));
        for (const char *box : {"DBEdit5", "DBEdit7", "DBEdit9", "DBEdit10"})
            ui.type(QLatin1String(box), QStringLiteral("x"));
        ModalAnswer none(QMessageBox::Ok);
        ui.press("sbPost");
        QCOMPARE(none.seen(), 0);
    }
    QCOMPARE(m_db->count("Customer"), 3);
    m_db->exec(QStringLiteral("INSERT INTO Employee (EmployeeID, EmployeeName) VALUES "
                              "('EM000002', '陳美玲')"));

    QApplication::setActiveWindow(Quote);
    customers->showPopup();
    QCOMPARE(customers->loadedRowCount(), 3);
    QCOMPARE(customers->model()->index(2, 0).data().toString(), QStringLiteral("CU000003"));
    customers->hidePopup();
    emit customers->activated(2);
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000003"));
    QCOMPARE(text("DBEdit3"), QStringLiteral("Lin"));
    employees->showPopup();
    QCOMPARE(employees->loadedRowCount(), 2);
    employees->hidePopup();
    emit employees->activated(1);
    QCOMPARE(header("EmployeeID"), QStringLiteral("EM000002"));
    QCOMPARE(text("DBEdit4"), QStringLiteral("陳美玲"));
}

void TestQuoteScreen::columnsAsWideAsTheirFields()
{
    // At the window's own size every line's amount and remarks are in view.
    QHeaderView *titles = grid()->horizontalHeader();
    const int zero = grid()->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QVERIFY(zero > 0);
    const std::pair<Column, int> characters[] = {{Item, 10}, {Product, 8}, {Quantity, 10},
                                                 {Unit, 4},   {Price, 10},  {Amount, 10},
                                                 {Memo, 10}};
    for (const auto &[column, chars] : characters) {
        const int width = grid()->columnWidth(column);
        const int title = titles->sectionSizeHint(column);
        QVERIFY2(width >= chars * zero && width >= title, qPrintable(cell(0, column)));
        // A small margin only, unless the title needs more.
        QVERIFY2(width <= std::max(chars * zero + 8, title), qPrintable(QString::number(width)));
    }
    QCOMPARE(grid()->columnWidth(Name), 135); // a given width stays
    QVERIFY(grid()->columnWidth(Unit) < grid()->columnWidth(Price));
    const int visible = grid()->viewport()->width();
    for (Column column : {Amount, Memo}) {
        const int end = grid()->columnViewportPosition(column) + grid()->columnWidth(column);
        QVERIFY2(end <= visible, qPrintable(QStringLiteral("%1 > %2").arg(end).arg(visible)));
    }

    // A column the user widened keeps its width when the lines are read again.
    grid()->horizontalHeader()->resizeSection(Memo, 150);
    press("sbRefresh");
    QCOMPARE(grid()->columnWidth(Memo), 150);
}

void TestQuoteScreen::deleteAfterAChoiceWhileBrowsingSaysWhy()
{
    m_db->seedQuote("OD24050001", {"001:001:PR000001:1:100"});
    press("sbRefresh");
    auto *customers = control<DBLookupComboBox>("EditCUSTID");
    customers->showPopup();
    customers->hidePopup();
    emit customers->activated(1);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Edit);
    QCOMPARE(mode(), Mode::Browse);
    {
        ModalAnswer ok(QMessageBox::Ok, 2);
        press("sbDelete");
        QTest::qWait(20);
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), QuoteSession::DeleteWhileChanged);
    }
    // Nothing is deleted, nothing changes: the choice is still there to save or cancel.
    QCOMPARE(m_db->count("QuoteMaster"), 1);
    QCOMPARE(m_db->count("QuoteDetail"), 1);
    QCOMPARE(quoteHeaders()->State(), DataSetState::Edit);
    QCOMPARE(header("CustomerID"), QStringLiteral("CU000002"));
    press("sbEdit");
    press("sbPost");
    QCOMPARE(m_db->scalar("SELECT CustomerID FROM QuoteMaster").toString(),
             QStringLiteral("CU000002"));
    // Once saved, the quotation can be deleted again.
    ModalAnswer yes(QMessageBox::Yes);
    press("sbDelete");
    QCOMPARE(yes.text(), TQuote::DeleteQuestion);
    QCOMPARE(m_db->count("QuoteMaster"), 0);
}

QTEST_MAIN(TestQuoteScreen)
#include "tst_quotescreen.moc"
