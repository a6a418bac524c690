// The nine query screens, driven as a user drives them: opened with "查詢" on their
// maintenance screens, searched, double-clicked and cancelled.
#include "app/mainform.h"
#include "app/startup.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/inputmethod.h"
#include "data/book/database.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/book/schema.h"
#include "data/book/shortdate.h"
#include "data/records/sqlquery.h"
#include "data/records/tablecursor.h"
#include "lookup/queryscreen.h"
#include "maintenance/product.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screenparts.h"
#include "testsupport/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using namespace tb::test;

namespace {

// A search and the keys it must list, in key order.
struct Probe
{
    int item;
    QString value;
    QStringList keys;
};

// What the user sees of one query screen and what its searches find in the rows below.
struct ScreenCase
{
    QString query, menu, maintenance, table, keyField;
    QRect grid;
    QStringList items, titles, selectLines;
    QString fromLine;
    QStringList searched; // the column each item searches
    QList<std::pair<int, int>> widths;
    QStringList rows; // INSERT statements
    QList<Probe> probes;
    QStringList keys; // of the rows, in key order
};

QStringList ids(const char *prefix, std::initializer_list<int> numbers, int digits)
{
    QStringList keys;
    for (int n : numbers)
        keys << QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, digits, 10,
                                                                       QLatin1Char('0'));
    return keys;
}

QStringList partnerRows(const QString &table, const char *prefix)
{
    const QString insert = QStringLiteral("INSERT INTO %1 VALUES ('%2%3', '%4', '%5', '%6', "
                                          "'王', 'a@b.tw', '02-1', '09-1', '02-2', '台北', "
                                          "'板橋', %7)");
    const auto row = [&](const char *n, const char *shortName, const char *name,
                         const char *earNo, const char *date) {
        return insert.arg(table, QString::fromLatin1(prefix), QString::fromLatin1(n),
                          QString::fromUtf8(shortName), QString::fromUtf8(name),
                          QString::fromLatin1(earNo), QString::fromLatin1(date));
    };
    return {row("000001", "甲", "甲公司", "12345675", "'2024-02-29'"),
            row("000002", "乙", "乙公司", "04595257", "'2024-03-01'"),
            row("000003", "丙", "丙公司", "12345675", "NULL")};
}

QList<ScreenCase> screenCases()
{
    QList<ScreenCase> cases;
    const QRect large(8, 96, 665, 217), small(8, 80, 339, 217);

    cases.append({"R_product", "N1", "Product", "Product", "ProductID", large,
                  {"商品編號", "商品名稱", "商品類別", "最近進貨日", "最近出貨日"},
                  {"商品編號", "商品名稱", "類別", "單位", "顏色", "存量", "安全存量", "價格A",
                   "價格B", "價格C", "最近進貨日", "最近出貨日"},
                  {"select ProductID as 商品編號, ProductName as 商品名稱, TypeName as 類別, "
                   "UnitName as 單位, ColorName as 顏色",
                   ", Stock as 存量, SafeStock as 安全存量, PriceA as 價格A, PriceB as 價格B, "
                   "PriceC as 價格C, LastPurchaseDate as 最近進貨日, "
                   "LastDeliveryDate as 最近出貨日 "},
                  "from Product",
                  {"ProductID", "ProductName", "TypeName", "LastPurchaseDate",
                   "LastDeliveryDate"},
                  {{0, 100}, {1, 150}, {3, 50}, {4, 50}},
                  {"INSERT INTO Product VALUES ('PR000001', '磁磚', '地磚', '片', '白', 10, 2, "
                   "100, 90, 80, '2024-03-05', '2024-04-01')",
                   "INSERT INTO Product VALUES ('PR000002', '壁紙', '壁紙類', '捲', '米白', 5, 1, "
                   "200, 190, 180, '2024-03-05', NULL)",
                   "INSERT INTO Product VALUES ('PR000003', 'chair ', '家具', '張', NULL, 0, "
                   "NULL, 50, 45, 40, '2023-12-31', '2024-04-01')"},
                  {{0, "PR000002", {"PR000002"}},
                   {1, "磁磚", {"PR000001"}},
                   {2, "家具", {"PR000003"}},
                   {3, "2024/03/05", {"PR000001", "PR000002"}},
                   {4, "2024-04-01", {"PR000001", "PR000003"}}},
                  ids("PR", {1, 2, 3}, 6)});

    for (const auto &[query, menu, maintenance, table, prefix, names] :
         {std::tuple{"R_customer", "N2", "Customer", "Customer", "CU",
                     QStringList{"客戶編號", "客戶簡稱", "客戶名稱"}},
          std::tuple{"R_Supplier", "N3", "Supplier", "Supplier", "SU",
                     QStringList{"廠商編號", "廠商簡稱", "廠商名稱"}}}) {
        const QString t = QString::fromLatin1(table);
        const QString id = t + QStringLiteral("ID");
        cases.append({query, menu, maintenance, t, id, large,
                      {names[0], names[2], "統一編號", "最後交易日"},
                      QStringList(names) << "統一編號" << "聯絡人" << "電話" << "手機" << "傳真"
                                         << "公司地址" << "送貨地址" << "最後交易日",
                      {QStringLiteral("select %1 as %2, %3AttribName as %4, %3Name as %5, "
                                      "EarNo as 統一編號, JoinMan as 聯絡人")
                           .arg(id, names[0], t, names[1], names[2]),
                       ", Tel as 電話, CellPhone as 手機, Fax as 傳真, "
                       "CompanyAddress as 公司地址, DeliveryAddress as 送貨地址, "
                       "LastDeliveryDate as 最後交易日 "},
                      "from " + t,
                      {id, t + "Name", "EarNo", "LastDeliveryDate"},
                      {{0, 100}, {2, 150}},
                      partnerRows(t, prefix),
                      {{0, QString::fromLatin1(prefix) + "000003", ids(prefix, {3}, 6)},
                       {1, "乙公司", ids(prefix, {2}, 6)},
                       {2, "12345675", ids(prefix, {1, 3}, 6)},
                       {3, "2024/02/29", ids(prefix, {1}, 6)}},
                      ids(prefix, {1, 2, 3}, 6)});
    }

    cases.append({"R_employee", "N4", "employee", "Employee", "EmployeeID", large,
                  {"員工編號", "身份證字號", "部門名稱"},
                  {"員工編號", "員工姓名", "身份證字號", "出生日期", "性別", "血型", "婚姻狀態",
                   "聯絡人", "地址", "電話", "部門名稱", "籍貫", "學歷", "工作職務", "到職日",
                   "離職日", "經歷"},
                  {"select EmployeeID as 員工編號, EmployeeName as 員工姓名, ID as 身份證字號, "
                   "Birthday as 出生日期, Sex as 性別, Blood as 血型",
                   ", Marriage as 婚姻狀態, JoinMan as 聯絡人, Address as 地址, Tel as 電話, "
                   "DepartmentName as 部門名稱, BirthPlace as 籍貫, Antecedent as 學歷, "
                   "DutyName as 工作職務, ArriveDate as 到職日, LeaveDate as 離職日, "
                   "Career as 經歷  "},
                  "from Employee",
                  {"EmployeeID", "ID", "DepartmentName"},
                  {{0, 100}, {2, 100}},
                  {"INSERT INTO Employee VALUES ('EM000001', '王小明', 'A123456789', "
                   "'1980-01-02', '男', 'A', '已婚', '王太太', '台北', 'x@y.tw', '02-3', "
                   "'業務部', '台南', '大學', '十年業務', '經理', '2010-05-01', NULL)",
                   "INSERT INTO Employee VALUES ('EM000002', '李美', 'B223456780', NULL, '女', "
                   "'O', '未婚', NULL, NULL, NULL, NULL, '業務部', NULL, NULL, NULL, '專員', "
                   "NULL, NULL)",
                   "INSERT INTO Employee (EmployeeID, EmployeeName, DepartmentName) "
                   "VALUES ('EM000003', '陳', '會計部')"},
                  {{0, "EM000001", {"EM000001"}},
                   {1, "B223456780", {"EM000002"}},
                   {2, "業務部", {"EM000001", "EM000002"}}},
                  ids("EM", {1, 2, 3}, 6)});

    const struct
    {
        const char *query, *menu, *maintenance, *table, *id, *name, *prefix;
        QStringList titles;
        const char *memo; // the third column, or null
        QStringList names;
    } codes[] = {
        {"R_Department", "N5", "department", "Department", "DepartmentID", "DepartmentName",
         "DE", {"部門編號", "部門名稱"}, nullptr, {"業務部", "會計部", "倉管部"}},
        {"R_Unit", "N25", "punit", "Unit", "UnitID", "UnitName", "UN",
         {"單位編號", "單位名稱", "說明"}, "Memo", {"片", "捲", "箱"}},
        {"R_Type", "N26", "ProductType", "ProductType", "TypeID", "TypeName", "TY",
         {"類別編號", "類別名稱"}, nullptr, {"地磚", "壁紙", "家具"}},
        {"R_Duty", "N6", "Duty", "Duty", "DutyID", "DutyName", "DU",
         {"職務編號", "職務名稱", "職務說明"}, "Memo", {"經理", "專員", "助理"}},
        {"R_Color", "N28", "Pcolor", "Color", "ColorID", "ColorName", "CO",
         {"顏色編號", "顏色名稱"}, nullptr, {"白", "米白", "黑"}},
    };
    for (const auto &c : codes) {
        const QString table = QString::fromLatin1(c.table);
        const QString id = QString::fromLatin1(c.id), name = QString::fromLatin1(c.name);
        QString select = QStringLiteral("select %1 as %2, %3 as %4")
                             .arg(id, c.titles[0], name, c.titles[1]);
        if (c.memo)
            select += QStringLiteral(", Memo as ") + c.titles[2];
        QStringList rows;
        for (int i = 0; i < 3; ++i)
            rows << QStringLiteral("INSERT INTO %1 (%2, %3%4) VALUES ('%5', '%6'%7)")
                        .arg(table, id, name, c.memo ? ", Memo" : "",
                             ids(c.prefix, {i + 1}, 4)[0], c.names[i],
                             c.memo ? ", '說明'" : "");
        QList<std::pair<int, int>> widths{{0, 100}, {1, 100}};
        if (c.memo)
            widths.append({2, 100});
        cases.append({c.query, c.menu, c.maintenance, table, id, small,
                      {c.titles[0], QString(c.titles[1])}, c.titles, {select + " "},
                      "from " + table, {id, name}, widths, rows,
                      {{0, ids(c.prefix, {2}, 4)[0], ids(c.prefix, {2}, 4)},
                       {1, c.names[2], ids(c.prefix, {3}, 4)}},
                      ids(c.prefix, {1, 2, 3}, 4)});
    }
    return cases;
}

template<typename T = QWidget>
T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), name);
    return found;
}

QWidget *window(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    qFatal("no window %s", qPrintable(name));
}

QueryScreen *queryScreen(const QString &name)
{
    return qobject_cast<QueryScreen *>(window(name));
}

void click(QWidget *window, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
}

// Types as a keyboard does (and an input method, one committed character at a time).
void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
}

// Opens the query screen the way a user does: the menu entry, then "查詢".
QueryScreen *openQuery(const ScreenCase &c)
{
    main->findChild<QAction *>(c.menu)->trigger();
    QWidget *maintenance = window(c.maintenance);
    if (!maintenance->isVisible())
        qFatal("menu entry %s did not show %s", qPrintable(c.menu), qPrintable(c.maintenance));
    click(maintenance, "sbRefresh");
    return queryScreen(c.query);
}

// Chooses the item with the keyboard, replaces the value and presses "確定".
void search(QueryScreen *screen, int item, const QString &value)
{
    QComboBox *combo = columnBox(screen);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QLineEdit *edit = valueBox(screen);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    typeInto(edit, value);
    QTest::mouseClick(named<QPushButton>(screen, "Button1"), Qt::LeftButton);
}

// One column of every row the grid shows, fetching pages as a scrolling user would. (An
// empty result shows one blank row, as an empty grid does.)
QStringList gridColumn(DBGrid *grid, int column = 0)
{
    if (grid->dataSource()->dataSet()->IsEmpty())
        return {};
    QAbstractItemModel *model = grid->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->index(r, column).data().toString();
    return texts;
}

QStringList gridTitles(DBGrid *grid)
{
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
}

void doubleClickRow(DBGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Every statement the search sends finds its rows through an index, in key order: a
// search compares in an index; only the listing of every row walks the key's index from
// either end, as far as the grid reads.
void checkIndexSearches(QueryScreen *screen, bool listing)
{
    if (test::TestDatabase::onServer()) {
        // A server plans by its statistics; with sorting and whole-table scans priced out
        // (see preferIndexes) a plan without a sort shows an index that gives the order.
        test::TestDatabase::preferIndexes();
        for (const QString &plan : query(screen)->QueryPlans())
            QVERIFY2(!plan.contains(QStringLiteral("Sort")) && plan.contains("Index"),
                     qPrintable(plan));
        return;
    }
    for (const QString &plan : query(screen)->QueryPlans()) {
        QVERIFY2(!plan.contains(QStringLiteral("TEMP B-TREE")), qPrintable(plan));
        const QString steps = plan.section(QStringLiteral(": "), 1);
        const bool walk = listing && !plan.startsWith(QStringLiteral("after"))
                          && !plan.startsWith(QStringLiteral("before"))
                          && !plan.startsWith(QStringLiteral("equal"))
                          && steps.startsWith(QStringLiteral("SCAN "))
                          && steps.contains(QStringLiteral(" USING INDEX sqlite_autoindex_"));
        QVERIFY2(steps.startsWith(QStringLiteral("SEARCH ")) || walk, qPrintable(plan));
    }
}

const QStringList Tables = {"Product", "Customer", "Supplier", "Employee", "Unit",
                            "ProductType", "Color", "Department", "Duty"};

const QStringList HostileValues = {
    QStringLiteral("\" or 1=1 or \""), QStringLiteral("x\"; delete from Product; --"),
    QStringLiteral("ProductName"), QStringLiteral("#1/1/2000# or 1=1"),
    QStringLiteral("' or ''='"), QStringLiteral("x'); drop table Product; --")};

} // namespace

class TestQueryScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void searchesHandOverAndCancel_data();
    void searchesHandOverAndCancel();
    void productNumberSearchAndDoubleClick();
    void valueIsNotTrimmed();
    void datesAreSearchedAndShownInTheShortFormat();
    void textThatIsNoDateKeepsTheScreen();
    void employeeKeepsItsResultOnCancel();
    void customerSearchesBusinessNumberAsText();
    void typedSqlIsSearchedAsText();
    void doubleClickWithoutARowDoesNothing();
    void foundProductIsEditedAndDeleted();
    void largeResultIsReadByThePage();
    void emailTypedWhileBrowsingIsKept_data();
    void emailTypedWhileBrowsingIsKept();

private:
    void seed(const ScreenCase &c);
    std::unique_ptr<test::TestDatabase> m_db;
    QList<ScreenCase> m_cases;
};

void TestQueryScreens::initTestCase()
{
    ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
    m_db = std::make_unique<test::TestDatabase>();
    m_cases = screenCases();
    QVERIFY(startUp());
    main->show();
}

void TestQueryScreens::cleanupTestCase()
{
    shutDown();
    m_db.reset();
}

void TestQueryScreens::init()
{
    for (const QString &table : Tables)
        m_db->exec(QStringLiteral("DELETE FROM ") + table);
    for (const ScreenCase &c : m_cases)
        seed(c);
}

void TestQueryScreens::cleanup()
{
    // Back to the hub with every screen as after start-up.
    for (const ScreenCase &c : m_cases) {
        QueryScreen *screen = queryScreen(c.query);
        query(screen)->Close();
        valueBox(screen)->clear();
        columnBox(screen)->setCurrentIndex(0);
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != main)
            w->hide();
    for (const ScreenCase &c : m_cases)
        if (auto *table = window(c.maintenance)->findChild<DataSet *>("Table1"))
            table->Close();
    main->show();
    ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
}

void TestQueryScreens::seed(const ScreenCase &c)
{
    for (const QString &row : c.rows)
        m_db->exec(row);
}

void TestQueryScreens::layout_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_cases.size(); ++i)
        QTest::newRow(qPrintable(m_cases[i].query)) << i;
}

void TestQueryScreens::layout()
{
    QFETCH(int, index);
    const ScreenCase &c = m_cases[index];
    QueryScreen *screen = queryScreen(c.query);
    const Qt::WindowFlags flags = screen->windowFlags();
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint
                       | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(child<QLabel>(screen, "Label1")->text(), QStringLiteral("查詢資料"));
    QCOMPARE(child<QLabel>(screen, "Label2")->text(), QStringLiteral("查詢欄位"));
    QCOMPARE(child<QPushButton>(screen, "Button1")->text(), QStringLiteral("確定"));
    QCOMPARE(child<QPushButton>(screen, "Button2")->text(), QStringLiteral("取消"));
    for (const char *name : {"Label1", "Edit1", "Label2", "ComboBox1", "Button1", "Button2"}) {
        const QRect r = child(screen, name)->geometry();
        QVERIFY2(r.bottom() < c.grid.top() && r.right() < screen->width(), name);
    }

    auto *combo = child<QComboBox>(screen, "ComboBox1");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, c.items);
    QCOMPARE(combo->currentIndex(), 0);
    QVERIFY(!combo->isEditable());
    QCOMPARE(inputMethodName(child(screen, "Edit1")), ime::Zhuyin);
    QCOMPARE(inputMethodName(combo), ime::Zhuyin);

    auto *grid = child<DBGrid>(screen, "DBGrid1");
    QCOMPARE(grid->geometry(), c.grid);
    QVERIFY(grid->isReadOnly());
    QCOMPARE(inputMethodName(grid), ime::Alphanumeric);
    auto *query = screen->findChild<ConnectionQuery *>("ADOQuery1");
    QVERIFY(query);
    QVERIFY(!query->Active());
    QVERIFY(query->ConnectionString().startsWith(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")));
}

void TestQueryScreens::searchesHandOverAndCancel_data()
{
    layout_data();
}

// Per screen: the statement's text, the result's columns and widths, every item listing
// every row for an empty value and its own rows for a value, through index searches; the
// double-click hand-over and "取消".
void TestQueryScreens::searchesHandOverAndCancel()
{
    QFETCH(int, index);
    const ScreenCase &c = m_cases[index];
    QueryScreen *screen = openQuery(c);
    QWidget *maintenance = window(c.maintenance);
    QVERIFY(screen->isVisible());
    QCOMPARE(maintenance->isVisible(), c.query == "R_employee");

    for (int item = 0; item < c.items.size(); ++item) {
        search(screen, item, QString());
        QCOMPARE(gridColumn(grid(screen)), c.keys);
        checkIndexSearches(screen, true);
    }
    QCOMPARE(query(screen)->SQL().Lines(), QStringList(c.selectLines) << c.fromLine);
    QCOMPARE(gridTitles(grid(screen)), c.titles);
    QHeaderView *header = grid(screen)->horizontalHeader();
    for (int column = 0; column < c.titles.size(); ++column) {
        int width = -1; // untouched: as wide as the field's values, and its title
        for (const auto &[set, pixels] : c.widths)
            if (set == column)
                width = pixels;
        if (width >= 0)
            QCOMPARE(header->sectionSize(column), width);
        else
            QVERIFY(header->sectionSize(column) >= header->sectionSizeHint(column));
    }

    for (const Probe &probe : c.probes) {
        search(screen, probe.item, probe.value);
        QVERIFY2(gridColumn(grid(screen)) == probe.keys, qPrintable(probe.value));
        checkIndexSearches(screen, false);
        QCOMPARE(query(screen)->SQL().Lines(),
                 QStringList(c.selectLines) << QStringLiteral("%1 where %2 = ?")
                                                   .arg(c.fromLine, c.searched[probe.item]));
    }

    // The double-click brings the maintenance screen onto the row, in browse mode.
    const Probe &last = c.probes.last();
    search(screen, last.item, last.value);
    doubleClickRow(grid(screen), last.keys.size() - 1);
    QVERIFY(!screen->isVisible());
    QVERIFY(maintenance->isVisible());
    auto *table = maintenance->findChild<DataSet *>("Table1");
    QCOMPARE(table->State(), DataSetState::Browse);
    QCOMPARE(table->FieldByName(c.keyField)->AsString(), last.keys.last());
    QVERIFY(!query(screen)->Active());
    QCOMPARE(valueBox(screen)->text(), last.value);

    // Back again: the value and the column stay; the grid is empty until the next search.
    click(maintenance, "sbRefresh");
    QVERIFY(screen->isVisible());
    QCOMPARE(valueBox(screen)->text(), last.value);
    QCOMPARE(columnBox(screen)->currentIndex(), last.item);
    QCOMPARE(grid(screen)->model()->rowCount(), 0);
    search(screen, last.item, last.value);
    click(screen, "Button2");
    QVERIFY(!screen->isVisible());
    QVERIFY(maintenance->isVisible());
    QCOMPARE(valueBox(screen)->text(), QString());
    if (c.query != "R_employee") {
        QVERIFY(!query(screen)->Active());
        click(maintenance, "sbRefresh");
        QCOMPARE(columnBox(screen)->currentIndex(), last.item);
        QCOMPARE(grid(screen)->model()->rowCount(), 0);
    }
    // Handing over changed nothing stored.
    QCOMPARE(m_db->count(c.table), 3);
}

void TestQueryScreens::productNumberSearchAndDoubleClick()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 0, QStringLiteral("PR000002"));
    QCOMPARE(gridColumn(grid(screen)), QStringList{"PR000002"});
    QCOMPARE(gridColumn(grid(screen), 1), QStringList{"壁紙"});
    doubleClickRow(grid(screen), 0);
    QVERIFY(Product->isVisible());
    QVERIFY(!screen->isVisible());
    QCOMPARE(named<DBEdit>(Product, "EditID")->text(), QStringLiteral("PR000002"));
    QCOMPARE(named<DBEdit>(Product, "EditName")->text(), QStringLiteral("壁紙"));
    QCOMPARE(named<DBEdit>(Product, "EditPuDate")->text(), QStringLiteral("2024/03/05"));
    QVERIFY(!Product->isEditingMode());
    QVERIFY(named<QToolButton>(Product, "sbEdit")->isEnabled());

    // Enter in the value box searches too; a number that is not there lists nothing.
    click(Product, "sbRefresh");
    typeInto(valueBox(screen), QStringLiteral("9"));
    QTest::keyClick(valueBox(screen), Qt::Key_Return);
    QVERIFY(query(screen)->Active());
    QCOMPARE(gridColumn(grid(screen)), QStringList());
    // Case matters: the number is compared exactly.
    search(screen, 0, QStringLiteral("pr000002"));
    QCOMPARE(gridColumn(grid(screen)), QStringList());
}

void TestQueryScreens::valueIsNotTrimmed()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 1, QStringLiteral("chair"));
    QCOMPARE(gridColumn(grid(screen)), QStringList());
    search(screen, 1, QStringLiteral("chair "));
    QCOMPARE(gridColumn(grid(screen)), QStringList{"PR000003"});
    // A value of blanks is a value, not an empty search.
    search(screen, 1, QStringLiteral(" "));
    QCOMPARE(gridColumn(grid(screen)), QStringList());
    search(screen, 1, QStringLiteral("磁磚 "));
    QCOMPARE(gridColumn(grid(screen)), QStringList());
}

void TestQueryScreens::datesAreSearchedAndShownInTheShortFormat()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 3, QStringLiteral("2024/03/05"));
    QCOMPARE(gridColumn(grid(screen)), (QStringList{"PR000001", "PR000002"}));
    QCOMPARE(gridColumn(grid(screen), 10), (QStringList{"2024/03/05", "2024/03/05"}));
    QCOMPARE(gridColumn(grid(screen), 11), (QStringList{"2024/04/01", ""}));
    QCOMPARE(query(screen)->FieldByName(QStringLiteral("最近進貨日"))->DataType(),
             FieldType::DateTime);
    QCOMPARE(gridColumn(grid(screen), 5), (QStringList{"10", "5"}));

    // The application's short date format, whatever it is, and the ISO form.
    ShortDate::setPattern(QStringLiteral("dd.MM.yyyy"));
    search(screen, 4, QStringLiteral("01.04.2024"));
    QCOMPARE(gridColumn(grid(screen)), (QStringList{"PR000001", "PR000003"}));
    QCOMPARE(gridColumn(grid(screen), 10), (QStringList{"05.03.2024", "31.12.2023"}));
    search(screen, 3, QStringLiteral("2023-12-31"));
    QCOMPARE(gridColumn(grid(screen)), QStringList{"PR000003"});
    search(screen, 3, QStringLiteral("2023/12/30"));
    QCOMPARE(gridColumn(grid(screen)), QStringList());

    // Employees' dates, too.
    QueryScreen *employees = openQuery(m_cases[3]);
    search(employees, 0, QStringLiteral("EM000001"));
    QCOMPARE(gridColumn(grid(employees), 3), QStringList{"02.01.1980"});
    QCOMPARE(gridColumn(grid(employees), 14), QStringList{"01.05.2010"});
    QCOMPARE(gridColumn(grid(employees), 16), QStringList{"十年業務"});
}

void TestQueryScreens::textThatIsNoDateKeepsTheScreen()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 0, QString());
    QCOMPARE(gridColumn(grid(screen)).size(), 3);
    for (const QString &value : {QStringLiteral("2024/02/30"), QStringLiteral("昨天"),
                                 QStringLiteral(" ")}) {
        ModalAnswer answer(QMessageBox::Ok);
        search(screen, 3, value);
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("'%1' is not a valid date").arg(value));
        QCOMPARE(answer.icon(), QMessageBox::Critical);
        QVERIFY(!query(screen)->Active());
        QCOMPARE(grid(screen)->model()->rowCount(), 0);
        QCOMPARE(valueBox(screen)->text(), value);
        QCOMPARE(columnBox(screen)->currentIndex(), 3);
        QVERIFY(screen->isVisible());
    }
    // Another try with a date works.
    valueBox(screen)->clear();
    search(screen, 3, QStringLiteral("2024/03/05"));
    QCOMPARE(gridColumn(grid(screen)).size(), 2);
}

void TestQueryScreens::employeeKeepsItsResultOnCancel()
{
    const ScreenCase &c = m_cases[3];
    QueryScreen *screen = openQuery(c);
    QWidget *employee = window(c.maintenance);
    QVERIFY(employee->isVisible()); // the employee screen stays under its query screen
    search(screen, 2, QStringLiteral("業務部"));
    click(screen, "Button2");
    QVERIFY(!screen->isVisible());
    QVERIFY(employee->isVisible());
    QCOMPARE(valueBox(screen)->text(), QString());
    QVERIFY(query(screen)->Active());

    click(employee, "sbRefresh");
    QCOMPARE(columnBox(screen)->currentIndex(), 2);
    QCOMPARE(gridColumn(grid(screen)), (QStringList{"EM000001", "EM000002"}));
    // A record being added on the employee screen meanwhile is not moved away from.
    click(employee, "sbInsert");
    auto *table = employee->findChild<DataSet *>("Table1");
    QCOMPARE(table->State(), DataSetState::Insert);
    {
        ModalAnswer answer(QMessageBox::Ok);
        doubleClickRow(grid(screen), 1);
        QCOMPARE(answer.text(), QStringLiteral("資料正在編輯中,請先儲存或取消。"));
    }
    QCOMPARE(table->State(), DataSetState::Insert);
    QVERIFY(screen->isVisible() && query(screen)->Active());
    click(employee, "sbCancel");
    QCOMPARE(m_db->count(QStringLiteral("Employee")), 3);

    // The kept result still hands over.
    doubleClickRow(grid(screen), 1);
    QCOMPARE(table->FieldByName("EmployeeID")->AsString(), QStringLiteral("EM000002"));
    QVERIFY(!query(screen)->Active());
}

void TestQueryScreens::customerSearchesBusinessNumberAsText()
{
    QueryScreen *screen = openQuery(m_cases[1]);
    search(screen, 2, QStringLiteral("04595257"));
    QCOMPARE(gridColumn(grid(screen)), QStringList{"CU000002"});
    QCOMPARE(gridColumn(grid(screen), 3), QStringList{"04595257"});
    // Compared as text: the number without its leading zero is another value.
    search(screen, 2, QStringLiteral("4595257"));
    QCOMPARE(gridColumn(grid(screen)), QStringList());
    search(screen, 3, QStringLiteral("2024-03-01"));
    QCOMPARE(gridColumn(grid(screen)), QStringList{"CU000002"});
    QCOMPARE(gridColumn(grid(screen), 10), QStringList{"2024/03/01"});
    ModalAnswer answer(QMessageBox::Ok);
    search(screen, 3, QStringLiteral("04595257"));
    QCOMPARE(answer.text(), QStringLiteral("'04595257' is not a valid date"));
}

// Text that would end, extend or replace the statement were it pasted in is searched for
// as it stands: only a row holding exactly that text is listed, and nothing is changed.
void TestQueryScreens::typedSqlIsSearchedAsText()
{
    // A server stores no text longer than its column (TypeName holds 20 characters).
    const auto fitsType = [](const QString &value) {
        return !test::TestDatabase::onServer() || value.size() <= 20;
    };
    for (int i = 0; i < HostileValues.size(); ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, TypeName) "
                                  "VALUES (?, ?, ?)"),
                   {QStringLiteral("PR1%1").arg(i, 5, 10, QLatin1Char('0')), HostileValues[i],
                    fitsType(HostileValues[i]) ? QVariant(HostileValues[i]) : QVariant()});
    int products = m_db->count(QStringLiteral("Product"));
    QueryScreen *product = openQuery(m_cases[0]);
    for (int i = 0; i < HostileValues.size(); ++i) {
        for (int item : {1, 2}) {
            if (item == 2 && !fitsType(HostileValues[i]))
                continue;
            search(product, item, HostileValues[i]);
            QCOMPARE(gridColumn(grid(product)),
                     QStringList{QStringLiteral("PR1%1").arg(i, 5, 10, QLatin1Char('0'))});
        }
    }

    for (const ScreenCase &c : m_cases) {
        QueryScreen *screen = openQuery(c);
        for (int item = 0; item < c.items.size(); ++item) {
            const bool date = screen->setup().items[item].column.date;
            for (const QString &value : HostileValues) {
                ModalAnswer answer(QMessageBox::Ok);
                search(screen, item, value);
                QCOMPARE(answer.seen(), date ? 1 : 0);
                if (date)
                    QVERIFY(answer.text().contains(value));
                if (c.table != "Product" || item == 0 || date)
                    QCOMPARE(gridColumn(grid(screen)), QStringList());
            }
        }
        click(screen, "Button2");
        window(c.maintenance)->hide();
        QCOMPARE(m_db->count(c.table), c.table == "Product" ? products : 3);
    }
    QCOMPARE(m_db->count(QStringLiteral("Product")), products);
}

void TestQueryScreens::doubleClickWithoutARowDoesNothing()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    ModalAnswer answer(QMessageBox::Ok);
    QTest::mouseDClick(grid(screen)->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    search(screen, 0, QStringLiteral("PR999999"));
    QTest::mouseDClick(grid(screen)->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(answer.seen(), 0);
    QVERIFY(screen->isVisible());
    QVERIFY(!Product->isVisible());
    QVERIFY(!table1(Product)->Active());
}

// Found through its query screen, a product is edited and then deleted on the product
// screen.
void TestQueryScreens::foundProductIsEditedAndDeleted()
{
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 1, QStringLiteral("壁紙"));
    doubleClickRow(grid(screen), 0);
    click(Product, "sbEdit");
    QVERIFY(Product->isEditingMode());
    QCOMPARE(named<DBEdit>(Product, "EditID")->text(), QStringLiteral("PR000002"));
    named<DBEdit>(Product, "EditName")->setFocus();
    QTest::keyClick(named<DBEdit>(Product, "EditName"), Qt::Key_End);
    typeInto(named<DBEdit>(Product, "EditName"), QStringLiteral("2"));
    click(Product, "sbPost");
    QVERIFY(!Product->isEditingMode());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                         "WHERE ProductID = 'PR000002'")).toString(),
             QStringLiteral("壁紙2"));

    click(Product, "sbRefresh");
    search(screen, 1, QStringLiteral("壁紙2"));
    doubleClickRow(grid(screen), 0);
    {
        ModalAnswer answer(QMessageBox::Yes);
        click(Product, "sbDelete");
        QCOMPARE(answer.seen(), 1);
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Product "
                                         "WHERE ProductID = 'PR000002'")).toInt(), 0);
    QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
    click(Product, "sbRefresh");
    search(screen, 0, QString());
    QCOMPARE(gridColumn(grid(screen)), (QStringList{"PR000001", "PR000003"}));
}

// A listing of every product reads only the rows the grid shows, also at the far end.
void TestQueryScreens::largeResultIsReadByThePage()
{
    m_db->exec(QStringLiteral(
        "WITH RECURSIVE n(x) AS (SELECT 4 UNION ALL SELECT x + 1 FROM n WHERE x < 5000) "
        "INSERT INTO Product (ProductID, ProductName, LastPurchaseDate) "
        "SELECT 'PR' || substr('000000' || x, length('000000' || x) - 5), '地板', "
        "'2024-01-01' FROM n"));
    QueryScreen *screen = openQuery(m_cases[0]);
    search(screen, 0, QString());
    DBGrid *results = grid(screen);
    QVERIFY(results->loadedRowCount() < 20);
    results->setFocus();
    QTest::keyClick(results, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(query(screen)->FieldByName(QStringLiteral("商品編號"))->AsString(),
             QStringLiteral("PR005000"));
    QVERIFY(results->loadedRowCount() < 20);
    QCOMPARE(results->currentIndex().siblingAtColumn(0).data().toString(),
             QStringLiteral("PR005000"));
    // From the far end, back up a page.
    QTest::keyClick(results, Qt::Key_PageUp);
    QVERIFY(query(screen)->FieldByName(QStringLiteral("商品編號"))->AsString()
            < QStringLiteral("PR005000"));
    doubleClickRow(results, results->currentIndex().row());
    QVERIFY(named<DBEdit>(Product, "EditID")->text() < QStringLiteral("PR005000"));
    QVERIFY(named<DBEdit>(Product, "EditID")->text() > QStringLiteral("PR004900"));
}

void TestQueryScreens::emailTypedWhileBrowsingIsKept_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("refusal"); // of a stored row with no name
    QTest::newRow("customer") << 1 << QStringLiteral("客戶名稱不可為空白!");
    QTest::newRow("supplier") << 2 << QStringLiteral("廠商名稱不可為空白!");
}

void TestQueryScreens::emailTypedWhileBrowsingIsKept()
{
    QFETCH(int, index);
    QFETCH(QString, refusal);
    const ScreenCase &c = m_cases[index];
    const QString prefix = c.keys.first().left(2);
    const QString emailColumn =
        quoteName(Schema::sqlName(Database::connection(), QStringLiteral("E-mail")));
    const auto storedEmail = [&](const QString &key) {
        return m_db->scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                .arg(emailColumn, c.table, c.keyField), {key}).toString();
    };
    QueryScreen *screen = openQuery(c);
    QWidget *partner = window(c.maintenance);
    auto *table = partner->findChild<DataSet *>("Table1");
    auto *emailBox = partner->findChild<QLineEdit *>("DBEdit12");
    const auto typeEmail = [&](const QString &text) {
        QApplication::setActiveWindow(partner);
        emailBox->selectAll();
        typeInto(emailBox, text);
        QCOMPARE(table->State(), DataSetState::Edit);
    };
    search(screen, 0, QString());
    doubleClickRow(grid(screen), 0);
    typeEmail(QStringLiteral("new@b.tw"));

    // "查詢", a search and a double-click: the E-mail is saved, the row changes.
    click(partner, "sbRefresh");
    search(screen, 0, QString());
    {
        ModalAnswer none(QMessageBox::Ok);
        doubleClickRow(grid(screen), 1);
        QCOMPARE(none.seen(), 0);
    }
    QVERIFY(partner->isVisible() && !screen->isVisible());
    QCOMPARE(table->State(), DataSetState::Browse);
    QCOMPARE(table->FieldByName(c.keyField)->AsString(), c.keys[1]);
    QCOMPARE(storedEmail(c.keys[0]), QStringLiteral("new@b.tw"));

    // "結束" saves it too.
    typeEmail(QStringLiteral("two@b.tw"));
    click(partner, "Button2");
    QVERIFY(!partner->isVisible() && main->isVisible());
    QCOMPARE(storedEmail(c.keys[1]), QStringLiteral("two@b.tw"));

    // A row the save's checks refuse: each way out says why and stays where it is.
    const QString bare = prefix + QStringLiteral("000009");
    m_db->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(c.table, c.keyField),
               {bare});
    screen = openQuery(c);
    search(screen, 0, bare);
    doubleClickRow(grid(screen), 0);
    typeEmail(QStringLiteral("x@b.tw"));
    {
        ModalAnswer ok(QMessageBox::Ok, 2);
        click(partner, "Button2");
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), refusal);
    }
    QVERIFY(partner->isVisible());
    click(partner, "sbRefresh");
    search(screen, 0, QString());
    {
        ModalAnswer ok(QMessageBox::Ok, 2);
        doubleClickRow(grid(screen), 0);
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(ok.text(), refusal);
    }
    QVERIFY(screen->isVisible() && !partner->isVisible());
    QCOMPARE(table->FieldByName(c.keyField)->AsString(), bare);
    QCOMPARE(table->State(), DataSetState::Edit);
    // Back on the screen, "修改" then "取消" drop the change, as the user chooses.
    click(screen, "Button2");
    click(partner, "sbEdit");
    click(partner, "sbCancel");
    QVERIFY(storedEmail(bare).isEmpty());
    click(partner, "Button2");
    QVERIFY(main->isVisible());
}

QTEST_MAIN(TestQueryScreens)
#include "tst_queryscreens.moc"
