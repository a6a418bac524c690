// The application shell: start-up order, the main window, the hub navigation, and the
// order, delivery, delivery-return and placeholder windows.
#include "app/mainform.h"
#include "app/startup.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/recordtoolbar.h"
#include "controls/windowframe.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "sales/delivery.h"
#include "sales/deliveryreturn.h"
#include "sales/order.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace tb;
using namespace tb::test;

namespace {

QWidget *window(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

QStringList visibleWindows()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->objectName().isEmpty())
            names << w->objectName();
    }
    names.sort();
    return names;
}

// A window's record set, found by the name the window gives it.
DataSet *recordSet(QWidget *window, const char *name)
{
    auto *set = window->findChild<DataSet *>(QLatin1String(name));
    if (!set)
        qFatal("no record set %s", name);
    return set;
}

// Every row of a grid, fetching further pages as a scrolling user would.
int gridRows(DBGrid *grid)
{
    QAbstractItemModel *model = grid->model();
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    return model->rowCount();
}

QStringList gridTitles(DBGrid *grid)
{
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
}

const QStringList SpeedButtons = {"sbFirst", "sbPrior", "sbNext", "sbLast", "sbInsert",
                                  "sbDelete", "sbEdit", "sbPost", "sbCancel", "sbRefresh"};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void createsTheWindowsInOrder_data();
    void createsTheWindowsInOrder();
    void onlyTheMainWindowIsVisible();
    void mainWindowHasPictureAndNoCaptionButtons();
    void menuBarHasSevenEntries();
    void menuEntryHidesMainAndCloseButtonReturns_data();
    void menuEntryHidesMainAndCloseButtonReturns();
    void closeBoxReturnsToMain_data();
    void closeBoxReturnsToMain();
    void codeTableWindowsKeepTheirSize_data();
    void codeTableWindowsKeepTheirSize();
    void salesNoteOpensDeliveryNote();
    void maintenanceScreenOpensWithTableClosed();
    void orderWindowShowsFirstHeaderAndAllLines();
    void documentGridColumns_data();
    void documentGridColumns();
    void deliveryWindowIsEmptyAndIgnoresTyping();
    void documentToolbarsAreInert_data();
    void documentToolbarsAreInert();
    void placeholderWindows_data();
    void placeholderWindows();
    void noDisplayIsReported();
    void exitEndsTheApplicationAtOnce(); // last: it closes the main window

private:
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestShell::initTestCase()
{
    m_db = std::make_unique<test::TestDatabase>();
    // Headers stored out of key order: the window must show the first by OrderID.
    m_db->exec("insert into OrderMaster (OrderID, OrderDate, CustomerID, SubTotal) "
               "values ('OR0002', '2024-05-02', 'CU000002', 200)");
    m_db->exec("insert into OrderMaster (OrderID, OrderDate, CustomerID, SubTotal) "
               "values ('OR0001', '2024-05-01', 'CU000001', 100)");
    const char *lines[][3] = {{"OR0002", "001", "PR000003"}, {"OR0001", "001", "PR000001"},
                              {"OR0001", "002", "PR000002"}};
    for (const auto &line : lines) {
        m_db->exec("insert into OrderDetail (OrderID, OdetailID, ProductID, Quantity) "
                   "values (?, ?, ?, 1)",
                   {line[0], line[1], line[2]});
    }
    m_db->exec("insert into DeliveryReturnMaster (DeliveryReturnID, CustomerID) "
               "values ('DR0001', 'CU000001')");
    m_db->exec("insert into DeliveryReturnDetail (DeliveryReturnID, DRdetailID, ProductID) "
               "values ('DR0001', '001', 'PR000001')");
    // A delivery note exists, yet its window must stay empty: its tables are never opened.
    m_db->exec("insert into DeliveryMaster (DeliveryID, CustomerID) values ('DE0001', 'X')");

    QVERIFY(startUp());
    main->show();
}

void TestShell::cleanupTestCase()
{
    shutDown();
    m_db.reset();
}

void TestShell::init()
{
    // Each test starts from the hub, as after start-up.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != main)
            w->hide();
    }
    if (main)
        main->show();
}

void TestShell::createsTheWindowsInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("frame"); // left, top, outer width, outer height

    const struct
    {
        const char *name, *className, *caption;
        QRect frame;
    } rows[] = {
        {"main", "Tmain", "進銷存管理系統", {200, 200, 601, 406}},
        {"Product", "TProduct", "商品資料", {200, 162, 704, 455}},
        {"Customer", "TCustomer", "客戶資料", {200, 200, 705, 456}},
        {"Supplier", "TSupplier", "供應商資料", {214, 282, 704, 456}},
        {"employee", "Temployee", "員工資料", {200, 200, 704, 457}},
        {"department", "Tdepartment", "員工部門設定", {}},
        {"punit", "Tpunit", "產品單位設定", {}},
        {"Quote", "TQuote", "報價單", {201, 159, 731, 552}},
        {"Order", "TOrder", "訂單", {235, 131, 730, 552}},
        {"Delivery", "TDelivery", "出貨單", {190, 105, 728, 601}},
        {"DeliveryReturn", "TDeliveryReturn", "出貨退回單", {215, 149, 696, 480}},
        {"Requestbuymaster", "TRequestbuymaster", "Requestbuymaster", {207, 159, 696, 480}},
        {"buymaster", "Tbuymaster", "buymaster", {192, 114, 696, 480}},
        {"purchasemaster", "Tpurchasemaster", "purchasemaster", {192, 114, 696, 480}},
        {"purchasereturnmaster", "Tpurchasereturnmaster", "purchasereturnmaster",
         {192, 114, 696, 480}},
        {"accountreceivablemaster", "Taccountreceivablemaster", "accountreceivablemaster",
         {192, 114, 696, 480}},
        {"accountpayablemaster", "Taccountpayablemaster", "accountpayablemaster",
         {192, 114, 696, 480}},
        {"panshuan", "Tpanshuan", "panshuan", {192, 114, 696, 480}},
        {"talkabout", "Ttalkabout", "talkabout", {192, 114, 696, 480}},
        {"ProductType", "TProductType", "商品類別設定", {}},
        {"Pcolor", "TPcolor", "產品顏色設定", {}},
        {"Duty", "TDuty", "員工職務設定", {}},
        {"chooseD", "TchooseD", "類別", {}},
        {"ChooseUnit", "TChooseUnit", "單位", {}},
        {"ChooseColor", "TChooseColor", "顏色", {}},
        {"ChooseDepartment", "TChooseDepartment", "部門", {}},
        {"ChooseDuty", "TChooseDuty", "ChooseDuty", {}},
        {"Form28", "TProductPicker", "商品清單", {327, 215, 393, 214}},
        {"R_product", "TR_product", "商品查詢", {200, 200, 696, 345}},
        {"R_customer", "TR_customer", "客戶查詢", {200, 200, 696, 345}},
        {"R_Supplier", "TR_Supplier", "廠商查詢", {200, 200, 696, 345}},
        {"R_employee", "TR_employee", "員工查詢", {200, 200, 696, 345}},
        {"R_Unit", "TR_Unit", "單位查詢", {200, 200, 360, 340}},
        {"R_Type", "TR_Type", "類別查詢", {200, 200, 360, 340}},
        {"R_Color", "TR_Color", "顏色查詢", {200, 200, 360, 340}},
        {"R_Department", "TR_Department", "部門查詢", {200, 200, 360, 340}},
        {"R_Duty", "TR_Duty", "職務查詢", {200, 200, 360, 340}},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className)
                                << QString::fromUtf8(row.caption) << row.frame;
    }
}

void TestShell::createsTheWindowsInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QRect, frame);

    // The creation order is the order of the rows above.
    static int row = 0;
    QCOMPARE(windowNames().value(row++), name);

    QWidget *w = window(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), "tb::" + className);
    QCOMPARE(w->windowTitle(), caption);
    if (!frame.isNull()) {
        QCOMPARE(w->pos(), frame.topLeft());
        QCOMPARE(w->size(), QSize(frame.width() - FrameExtraWidth,
                                  frame.height() - FrameExtraHeight));
    }
}

void TestShell::onlyTheMainWindowIsVisible()
{
    QCOMPARE(windowNames().size(), 37);
    QCOMPARE(visibleWindows(), QStringList{"main"});
}

void TestShell::mainWindowHasPictureAndNoCaptionButtons()
{
    const Qt::WindowFlags flags = main->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));

    auto *image = main->findChild<QLabel *>("Image1");
    QVERIFY(image);
    QCOMPARE(image->size(), QSize(593, 345));
    QVERIFY(!image->hasScaledContents());
    const QPixmap picture = image->pixmap();
    QCOMPARE(picture.size(), QSize(593, 345));
    // The captions are exactly their texts: an application display name would be added to
    // every caption on X11 (and shown on an empty one), so none is set.
    QCOMPARE(main->windowTitle(), QString("進銷存管理系統"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCOMPARE(applicationTitle(), QString("進銷存管理系統"));
}

void TestShell::menuBarHasSevenEntries()
{
    auto *bar = main->findChild<QMenuBar *>("MainMenu1");
    QVERIFY(bar);
    QStringList captions;
    for (QAction *action : bar->actions())
        captions << action->text();
    QCOMPARE(captions, QStringList({"設定", "基本資料維護系統", "銷售管理系統", "進貨管理系統",
                                    "應收/應付系統", "關於", "結束"}));
    QAction *exit = bar->actions().last();
    QCOMPARE(exit->objectName(), QString("N23"));
    QVERIFY(!exit->menu());

    const QList<QPair<QString, QStringList>> groups = {
        {"N24", {"產品單位設定", "產品類別設定", "產品顏色設定", "員工部門設定", "員工職務設定"}},
        {"ru1", {"產品資料", "客戶資料", "廠商資料", "員工資料"}},
        {"N7", {"報價單", "訂單", "銷貨單", "銷貨退回單"}},
        {"N12", {"請購單", "採購單", "進貨單", "進貨退出單"}},
        {"N17", {"應收帳款", "應付帳款"}},
        {"N20", {"版權", "說明"}},
    };
    for (int i = 0; i < groups.size(); ++i) {
        QMenu *menu = bar->actions().at(i)->menu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), groups[i].first);
        QStringList items;
        for (QAction *action : menu->actions())
            items << action->text();
        QCOMPARE(items, groups[i].second);
    }
}

void TestShell::menuEntryHidesMainAndCloseButtonReturns_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("closeButton");

    const char *rows[][3] = {
        {"N25", "punit", "Button1"},
        {"N26", "ProductType", "Button2"},
        {"N28", "Pcolor", "Button1"},
        {"N5", "department", "Button2"},
        {"N6", "Duty", "Button1"},
        {"N1", "Product", "Button1"},
        {"N2", "Customer", "Button2"},
        {"N3", "Supplier", "Button2"},
        {"N4", "employee", "Button2"},
        {"N8", "Quote", "Button1"},
        {"N9", "Order", "Button2"},
        {"N10", "Delivery", "Button2"},
        {"N11", "DeliveryReturn", "Button2"},
        {"N13", "Requestbuymaster", "Button1"},
        {"N14", "buymaster", "Button1"},
        {"N15", "purchasemaster", "Button1"},
        {"N16", "purchasereturnmaster", "Button1"},
        {"N18", "accountreceivablemaster", "Button1"},
        {"N19", "accountpayablemaster", "Button1"},
        {"N21", "panshuan", "Button1"},
        {"N22", "talkabout", "Button1"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2];
}

void TestShell::menuEntryHidesMainAndCloseButtonReturns()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QString, closeButton);

    auto *item = main->findChild<QAction *>(action);
    QVERIFY(item);
    item->trigger();
    QCOMPARE(visibleWindows(), QStringList{target});

    auto *button = window(target)->findChild<QPushButton *>(closeButton);
    QVERIFY(button);
    QCOMPARE(button->text(), QString("結束"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(visibleWindows(), QStringList{"main"});
    // The menu is intact after the round trip.
    QCOMPARE(main->findChild<QMenuBar *>("MainMenu1")->actions().size(), 7);
}

void TestShell::closeBoxReturnsToMain_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::newRow("quotation") << "N8" << "Quote";
    QTest::newRow("order") << "N9" << "Order";
    QTest::newRow("delivery") << "N10" << "Delivery";
    QTest::newRow("delivery return") << "N11" << "DeliveryReturn";
    QTest::newRow("requisition") << "N13" << "Requestbuymaster";
    QTest::newRow("help") << "N22" << "talkabout";
}

void TestShell::closeBoxReturnsToMain()
{
    QFETCH(QString, action);
    QFETCH(QString, target);

    main->findChild<QAction *>(action)->trigger();
    QWidget *w = window(target);
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint || !(w->windowFlags()
                                                              & Qt::CustomizeWindowHint));
    QVERIFY(w->close());
    QCOMPARE(visibleWindows(), QStringList{"main"});
}

void TestShell::codeTableWindowsKeepTheirSize_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("closeButton");
    QTest::newRow("units") << "N25" << "punit" << "Button1";
    QTest::newRow("types") << "N26" << "ProductType" << "Button2";
    QTest::newRow("colours") << "N28" << "Pcolor" << "Button1";
    QTest::newRow("departments") << "N5" << "department" << "Button2";
    QTest::newRow("duties") << "N6" << "Duty" << "Button1";
}

// The toolbar fits the window: a wider close button would make the window grow once shown.
void TestShell::codeTableWindowsKeepTheirSize()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QString, closeButton);
    main->findChild<QAction *>(action)->trigger();
    QWidget *w = window(target);
    QVERIFY(w->isVisible());
    auto *button = w->findChild<QPushButton *>(closeButton);
    QCOMPARE(button->size(), QSize(50, 29));
    QCOMPARE(w->pos(), QPoint(200, 200));
    QCOMPARE(w->size(), QSize(570 - FrameExtraWidth, 182 - FrameExtraHeight));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(visibleWindows(), QStringList{"main"});
}

void TestShell::salesNoteOpensDeliveryNote()
{
    auto *item = main->findChild<QAction *>("N10");
    QCOMPARE(item->text(), QString("銷貨單"));
    item->trigger();
    QCOMPARE(visibleWindows(), QStringList{"Delivery"});
    QCOMPARE(window("Delivery")->windowTitle(), QString("出貨單"));
}

void TestShell::maintenanceScreenOpensWithTableClosed()
{
    main->findChild<QAction *>("N1")->trigger();
    auto *table = window("Product")->findChild<DataSet *>("Table1");
    QVERIFY(table);
    QVERIFY(!table->Active());
    const Qt::WindowFlags flags = window("Product")->windowFlags();
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
}

void TestShell::orderWindowShowsFirstHeaderAndAllLines()
{
    main->findChild<QAction *>("N9")->trigger();
    QCOMPARE(recordSet(Order, "Table1")->State(), DataSetState::Browse);
    QCOMPARE(Order->findChild<DBEdit *>("DBEdit1")->text(), QString("OR0001"));
    QCOMPARE(Order->findChild<DBEdit *>("DBEdit3")->text(), QString("CU000001"));
    QCOMPARE(Order->findChild<DBEdit *>("DBEdit8")->text(), QString("100"));
    QCOMPARE(Order->findChild<DBEdit *>("DBEdit5")->width(), 465);
    QVERIFY(Order->findChild<DBMemo *>("DBMemo1"));
    // The grid is not linked to the header: it lists the lines of every order.
    QCOMPARE(gridRows(Order->findChild<DBGrid *>("DBGrid1")), 3);
    // At the window's own size a line's price is in view (columns as wide as their fields).
    DBGrid *lines = Order->findChild<DBGrid *>("DBGrid1");
    const int priceEnd = lines->columnViewportPosition(7) + lines->columnWidth(7);
    QVERIFY2(priceEnd <= lines->viewport()->width(), qPrintable(QString::number(priceEnd)));

    // The number labels are red, the others sky blue.
    const QList<QLabel *> labels = Order->findChildren<QLabel *>();
    int checked = 0;
    for (QLabel *label : labels) {
        const QColor background = label->palette().color(QPalette::Window);
        if (label->text() == "訂單編號" || label->text() == "總計金額") {
            QCOMPARE(background, QColor(Qt::red));
            ++checked;
        } else if (label->text() == "送貨地址") {
            QCOMPARE(background, QColor(0xA6, 0xCA, 0xF0));
            ++checked;
        }
    }
    QCOMPARE(checked, 3);

    QCOMPARE(recordSet(DeliveryReturn, "Table1")->State(), DataSetState::Browse);
    QCOMPARE(DeliveryReturn->findChild<DBEdit *>("DBEdit1")->text(), QString("DR0001"));
    QCOMPARE(gridRows(DeliveryReturn->findChild<DBGrid *>("DBGrid1")), 1);
}

void TestShell::documentGridColumns_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("nameWidth");
    QTest::newRow("order") << "Order"
                           << QStringList{"訂單編號", "明細編號", "商品編號", "商品名稱", "數量",
                                          "未交數量", "單位", "單價", "金額", "來源單號", "備註"}
                           << 188;
    QTest::newRow("delivery") << "Delivery"
                              << QStringList{"出貨單編號", "明細編號", "商品編號", "商品名稱",
                                             "單位", "數量", "出貨單價", "金額", "備註"}
                              << 190;
    QTest::newRow("return") << "DeliveryReturn"
                            << QStringList{"出貨退回單號", "明細編號", "商品編號", "商品名稱",
                                           "數量", "單位", "單價", "金額", "來源單號", "備註"}
                            << 167;
}

void TestShell::documentGridColumns()
{
    QFETCH(QString, target);
    QFETCH(QStringList, titles);
    QFETCH(int, nameWidth);
    auto *grid = window(target)->findChild<DBGrid *>("DBGrid1");
    QVERIFY(grid);
    QStringList configured;
    for (const GridColumn &column : grid->columns())
        configured << column.title;
    QCOMPARE(configured, titles);
    QCOMPARE(grid->columns().at(3).width, nameWidth);
    if (grid->dataSource()->dataSet()->Active())
        QCOMPARE(gridTitles(grid), titles);
}

void TestShell::deliveryWindowIsEmptyAndIgnoresTyping()
{
    main->findChild<QAction *>("N10")->trigger();
    QVERIFY(!recordSet(Delivery, "Table1")->Active());
    QVERIFY(!recordSet(Delivery, "Table2")->Active());
    const QList<DBEdit *> boxes = Delivery->findChildren<DBEdit *>();
    QCOMPARE(boxes.size(), 8);
    for (DBEdit *box : boxes)
        QVERIFY(box->text().isEmpty());
    QCOMPARE(Delivery->findChild<DBEdit *>("DBEdit5")->width(), 425);
    QCOMPARE(Delivery->findChild<DBGrid *>("DBGrid1")->model()->rowCount(), 0);
    // The closed grid still shows its column titles.
    QAbstractItemModel *grid = Delivery->findChild<DBGrid *>("DBGrid1")->model();
    QCOMPARE(grid->columnCount(), 9);
    QCOMPARE(grid->headerData(0, Qt::Horizontal).toString(), QStringLiteral("出貨單編號"));
    QCOMPARE(grid->headerData(6, Qt::Horizontal).toString(), QStringLiteral("出貨單價"));

    DBEdit *number = Delivery->findChild<DBEdit *>("DBEdit1");
    number->setFocus();
    QTest::keyClicks(number, "DE9");
    QVERIFY(number->text().isEmpty());
    QVERIFY(!recordSet(Delivery, "Table1")->Active());
    QCOMPARE(m_db->count("DeliveryMaster"), 1);
}

void TestShell::documentToolbarsAreInert_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::newRow("order") << "N9" << "Order";
    QTest::newRow("delivery") << "N10" << "Delivery";
    QTest::newRow("return") << "N11" << "DeliveryReturn";
}

void TestShell::documentToolbarsAreInert()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    main->findChild<QAction *>(action)->trigger();
    auto *w = qobject_cast<DocumentWindow *>(window(target));
    QVERIFY(w);
    const DataSetState state = recordSet(w, "Table1")->State();
    const QString header = w->findChild<DBEdit *>("DBEdit1")->text();

    for (const QString &name : SpeedButtons) {
        auto *button = w->findChild<QToolButton *>(name);
        QVERIFY2(button, qPrintable(name));
        const bool disabled = name == "sbPost" || name == "sbCancel";
        QCOMPARE(button->isEnabled(), !disabled);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(recordSet(w, "Table1")->State(), state);
        QCOMPARE(w->findChild<DBEdit *>("DBEdit1")->text(), header);
        QCOMPARE(visibleWindows(), QStringList{target});
    }
    QCOMPARE(w->findChild<QToolButton *>("sbRefresh")->text(), QString("更新"));
    QCOMPARE(w->findChild<QToolButton *>("sbPost")->isEnabled(), false);
}

void TestShell::placeholderWindows_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("buttonPos");
    QTest::newRow("請購單") << "N13" << "Requestbuymaster" << QPoint(80, 328);
    QTest::newRow("採購單") << "N14" << "buymaster" << QPoint(16, 344);
    QTest::newRow("進貨單") << "N15" << "purchasemaster" << QPoint(0, 320);
    QTest::newRow("進貨退出單") << "N16" << "purchasereturnmaster" << QPoint(48, 328);
    QTest::newRow("應收帳款") << "N18" << "accountreceivablemaster" << QPoint(16, 304);
    QTest::newRow("應付帳款") << "N19" << "accountpayablemaster" << QPoint(88, 272);
    QTest::newRow("版權") << "N21" << "panshuan" << QPoint(0, 344);
    QTest::newRow("說明") << "N22" << "talkabout" << QPoint(8, 320);
}

void TestShell::placeholderWindows()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QPoint, buttonPos);
    main->findChild<QAction *>(action)->trigger();
    QWidget *w = window(target);
    QCOMPARE(w->windowTitle(), target);
    // Nothing but the close button.
    const QList<QWidget *> children = w->findChildren<QWidget *>();
    QCOMPARE(children.size(), 1);
    auto *button = qobject_cast<QPushButton *>(children.first());
    QVERIFY(button);
    QCOMPARE(button->objectName(), QString("Button1"));
    QCOMPARE(button->geometry(), QRect(buttonPos, QSize(75, 25)));
}

void TestShell::noDisplayIsReported()
{
    const QByteArray keys[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qgetenv(keys[i].constData());
        qunsetenv(keys[i].constData());
    }
    QString message;
    const bool available = displayAvailable(&message);
    qputenv("DISPLAY", ":7");
    const bool withDisplay = displayAvailable(nullptr);
    qunsetenv("DISPLAY");
    for (int i = 0; i < 3; ++i) {
        if (!saved[i].isNull())
            qputenv(keys[i].constData(), saved[i]);
    }
    QVERIFY(!available);
    QVERIFY(message.contains("xvfb-run -a ./build/tradebook"));
    QVERIFY(withDisplay);
}

void TestShell::exitEndsTheApplicationAtOnce()
{
    auto *exit = main->findChild<QAction *>("N23");
    QCOMPARE(exit->text(), QString("結束"));
    // A confirmation box would keep the loop running; the watchdog then ends it.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    QTimer::singleShot(0, exit, &QAction::trigger);
    const int code = QCoreApplication::exec();
    QCOMPARE(code, 0);
    QVERIFY(!main->isVisible());
    QCOMPARE(visibleWindows(), QStringList{});
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
