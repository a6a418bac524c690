// The five code-table pick-lists and the product list picker.
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/inputmethod.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/records/sqlquery.h"
#include "data/records/tablecursor.h"
#include "lookup/chooselists.h"
#include "lookup/productpicker.h"
#include "maintenance/product.h"
#include "testsupport/modalaction.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace tb;
using tb::test::ModalAction;
using tb::test::ModalAnswer;
using namespace tb::test;

namespace {

struct Kind
{
    const char *name;
    const char *caption;
    const char *table;
    const char *sql;
    QStringList columns;
    std::function<ChooseDialog *(QWidget *, QLineEdit *)> make;
};

const QList<Kind> &kinds()
{
    static const QList<Kind> all{
        {"chooseD", "類別", "ProductType", "select * from ProductType", {"TypeID", "TypeName"},
         [](QWidget *p, QLineEdit *r) { return new TchooseD(p, r); }},
        {"ChooseUnit", "單位", "Unit", "select * from Unit", {"UnitID", "UnitName", "Memo"},
         [](QWidget *p, QLineEdit *r) { return new TChooseUnit(p, r); }},
        {"ChooseColor", "顏色", "Color", "select * from Color", {"ColorID", "ColorName"},
         [](QWidget *p, QLineEdit *r) { return new TChooseColor(p, r); }},
        {"ChooseDepartment", "部門", "Department", "select * from Department",
         {"DepartmentID", "DepartmentName"},
         [](QWidget *p, QLineEdit *r) { return new TChooseDepartment(p, r); }},
        {"ChooseDuty", "ChooseDuty", "Duty", "select * from Duty", {"DutyID", "DutyName", "Memo"},
         [](QWidget *p, QLineEdit *r) { return new TChooseDuty(p, r); }},
    };
    return all;
}

DBGrid *gridOf(QWidget *dialog)
{
    return dialog->findChild<DBGrid *>(QStringLiteral("DBGrid1"));
}

QPoint cellCentre(DBGrid *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

void clickCell(QWidget *dialog, int row, int column = 1)
{
    DBGrid *grid = gridOf(dialog);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
}

// Every row of a grid, fetching further pages as a scrolling user would.
int rowCount(DBGrid *grid)
{
    QAbstractItemModel *model = grid->model();
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    return model->rowCount();
}

QStringList titles(DBGrid *grid)
{
    QStringList result;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        result << grid->model()->headerData(i, Qt::Horizontal).toString();
    return result;
}

} // namespace

class TestPickLists : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void codeTableDialog_data();
    void codeTableDialog();
    void titleClickAndCloseBoxHandNothingBack();
    void secondChoiceWinsAndNewRowsAreListed();
    void emptyTableHandsBackEmptyText();
    void productPicker();
    void productPickerReadsAfreshEachTime();

private:
    void addRows(const QString &table, int count);
    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<QWidget> m_caller;
    QLineEdit *m_receiver = nullptr;
};

void TestPickLists::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    m_caller = std::make_unique<QWidget>();
    m_receiver = new QLineEdit(m_caller.get());
    m_caller->show();
}

void TestPickLists::cleanup()
{
    m_caller.reset();
    m_db.reset();
}

void TestPickLists::addRows(const QString &table, int count)
{
    const QString sql = table == QLatin1String("Unit") || table == QLatin1String("Duty")
                            ? QStringLiteral("INSERT INTO %1 VALUES (?, ?, NULL)")
                            : QStringLiteral("INSERT INTO %1 VALUES (?, ?)");
    const int first = m_db->count(table) + 1;
    for (int i = first; i < first + count; ++i)
        m_db->exec(sql.arg(table), {QStringLiteral("XX%1").arg(i, 4, 10, QLatin1Char('0')),
                                    QStringLiteral("名稱%1").arg(i)});
}

void TestPickLists::codeTableDialog_data()
{
    QTest::addColumn<int>("kind");
    for (int i = 0; i < kinds().size(); ++i)
        QTest::newRow(kinds()[i].name) << i;
}

void TestPickLists::codeTableDialog()
{
    QFETCH(int, kind);
    const Kind &k = kinds()[kind];
    addRows(QLatin1String(k.table), 3);
    m_receiver->setText(QStringLiteral("before"));

    QPointer<ChooseDialog> dialog = k.make(m_caller.get(), m_receiver);
    QCOMPARE(dialog->objectName(), QLatin1String(k.name));
    QCOMPARE(dialog->windowTitle(), QString::fromUtf8(k.caption));
    QCOMPARE(dialog->parent(), m_caller.get());
    QCOMPARE(named<SqlQuery>(dialog, "Query1")->SQL().Text(), QLatin1String(k.sql));
    QVERIFY(named<SqlQuery>(dialog, "Query1")->Active()); // read at creation
    QVERIFY(named<DBGrid>(dialog, "DBGrid1")->isReadOnly());
    QCOMPARE(inputMethodName(named<DBGrid>(dialog, "DBGrid1")), ime::NewCangjie);
    QCOMPARE(titles(named<DBGrid>(dialog, "DBGrid1")), k.columns);

    ModalAction action([&](QDialog *shown) {
        QCOMPARE(shown, dialog.data());
        QCOMPARE(shown->pos(), QPoint(200, 200));
        clickCell(shown, 2, 0); // any cell of the row chooses it
    });
    ChooseDialog::pick(dialog);
    QVERIFY(action.done());
    QCOMPARE(m_receiver->text(), QStringLiteral("名稱3"));
    // Released once it has closed.
    QVERIFY(dialog.isNull());
}

void TestPickLists::titleClickAndCloseBoxHandNothingBack()
{
    addRows(QStringLiteral("Unit"), 2);
    m_receiver->setText(QStringLiteral("箱"));
    bool stillOpen = false;
    ModalAction action([&](QDialog *shown) {
        DBGrid *grid = gridOf(shown);
        QHeaderView *header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        stillOpen = shown->isVisible();
        shown->close(); // the caption bar's close box
    });
    ChooseDialog::pick(new TChooseUnit(m_caller.get(), m_receiver));
    QVERIFY(action.done());
    QVERIFY(stillOpen);
    QCOMPARE(m_receiver->text(), QStringLiteral("箱"));
}

void TestPickLists::secondChoiceWinsAndNewRowsAreListed()
{
    addRows(QStringLiteral("Color"), 2);
    for (int row : {0, 1}) {
        ModalAction action([row](QDialog *shown) { clickCell(shown, row); });
        ChooseDialog::pick(new TChooseColor(m_caller.get(), m_receiver));
        QVERIFY(action.done());
    }
    QCOMPARE(m_receiver->text(), QStringLiteral("名稱2"));

    addRows(QStringLiteral("Color"), 1);
    int listed = 0;
    ModalAction action([&listed](QDialog *shown) {
        listed = gridOf(shown)->model()->rowCount();
        clickCell(shown, 2);
    });
    ChooseDialog::pick(new TChooseColor(m_caller.get(), m_receiver));
    QCOMPARE(listed, 3);
    QCOMPARE(m_receiver->text(), QStringLiteral("名稱3"));
}

void TestPickLists::emptyTableHandsBackEmptyText()
{
    Product = new TProduct;
    std::unique_ptr<TProduct> screen(Product);
    screen->show();
    QTest::mouseClick(named<QToolButton>(screen.get(), "sbInsert"), Qt::LeftButton);
    named<DBEdit>(screen.get(), "EditType")->setText(QStringLiteral("stale"));
    QTest::keyClicks(named<DBEdit>(screen.get(), "EditName"), QStringLiteral("lamp"));

    int rows = -1;
    ModalAction action([&rows](QDialog *shown) {
        rows = gridOf(shown)->model()->rowCount();
        clickCell(shown, 0);
    });
    QTest::mouseClick(named<QPushButton>(screen.get(), "Button2"), Qt::LeftButton);
    QVERIFY(action.done());
    QCOMPARE(rows, 1);
    QCOMPARE(named<DBEdit>(screen.get(), "EditType")->text(), QString());

    ModalAnswer answer(QMessageBox::Ok);
    QTest::mouseClick(named<QToolButton>(screen.get(), "sbPost"), Qt::LeftButton);
    QCOMPARE(answer.text(), QStringLiteral("類別不可為空白!"));
    QCOMPARE(m_db->count(QStringLiteral("Product")), 0);
    QTest::mouseClick(named<QToolButton>(screen.get(), "sbCancel"), Qt::LeftButton);
    Product = nullptr;
}

void TestPickLists::productPicker()
{
    for (int i = 1; i <= 3; ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) VALUES (?, ?)"),
                   {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                    QStringLiteral("商品%1").arg(i)});
    Form28 = new TProductPicker;
    std::unique_ptr<TProductPicker> picker(Form28);
    QCOMPARE(picker->windowTitle(), QStringLiteral("商品清單"));
    DBGrid *list = grid(picker.get());
    auto *ok = named<QPushButton>(picker.get(), "Button1");
    auto *cancel = named<QPushButton>(picker.get(), "Button2");
    QVERIFY(list->isReadOnly());
    QCOMPARE(inputMethodName(list), ime::NewCangjie);
    QVERIFY(!ok->isDefault() && !ok->autoDefault());
    QVERIFY(!cancel->isDefault() && !cancel->autoDefault());

    auto currentId = [&] { return picker->chosen().productId; };
    {
        bool openWhenShown = false;
        QStringList shownTitles;
        int nameWidth = 0;
        ModalAction action([&](QDialog *shown) {
            openWhenShown = table1(picker.get())->Active();
            shownTitles = titles(list);
            nameWidth = list->columnWidth(1);
            clickCell(shown, 1, 0);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QCOMPARE(picker->exec(), int(QDialog::Accepted));
        QVERIFY(openWhenShown);
        QCOMPARE(shownTitles, QStringList({"ProductID", "ProductName"}));
        QCOMPARE(nameWidth, 227);
        QCOMPARE(currentId(), QStringLiteral("PR000002"));
    }
    {
        ModalAction action([&](QDialog *) {
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        QCOMPARE(picker->exec(), int(QDialog::Rejected));
    }
    {
        ModalAction action([&](QDialog *shown) {
            DBGrid *grid = gridOf(shown);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 1));
        });
        QCOMPARE(picker->exec(), int(QDialog::Accepted));
        QCOMPARE(currentId(), QStringLiteral("PR000003"));
        QCOMPARE(picker->chosen().productName, QStringLiteral("商品3"));
    }
    {
        ModalAction action([](QDialog *shown) { shown->close(); });
        QCOMPARE(picker->exec(), int(QDialog::Rejected));
    }
    // The one instance served every opening and nothing was changed through it.
    QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product"
                                         " WHERE ProductID = 'PR000002'")).toString(),
             QStringLiteral("商品2"));
    Form28 = nullptr;
}

// The one picker lives as long as the application: products added since it was last
// shown must be listed when it is shown again, through exec() or show().
void TestPickLists::productPickerReadsAfreshEachTime()
{
    auto addProduct = [this](int i) {
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) VALUES (?, ?)"),
                   {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                    QStringLiteral("商品%1").arg(i)});
    };
    for (int i = 1; i <= 3; ++i)
        addProduct(i);
    TProductPicker picker;
    auto listedOnExec = [&] {
        int listed = -1;
        ModalAction action([&](QDialog *shown) {
            listed = rowCount(gridOf(shown));
            QTest::mouseClick(named<QPushButton>(&picker, "Button2"), Qt::LeftButton);
        });
        picker.exec();
        return listed;
    };
    QCOMPARE(listedOnExec(), 3);
    addProduct(4);
    QCOMPARE(listedOnExec(), 4);

    addProduct(5);
    picker.show();
    QCOMPARE(rowCount(grid(&picker)), 5);
    picker.hide();
}

QTEST_MAIN(TestPickLists)
#include "tst_picklists.moc"
