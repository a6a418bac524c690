#include "controls/dbgrid.h"
#include "controls/dialogs.h"
#include "data/records/dataset.h"
#include "data/records/datasource.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "testsupport/modalanswer.h"
#include "testsupport/rulesprobe.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::TestDatabase;

namespace {

// A table cursor that counts what the grid reads through it.
class CountingCursor : public TableCursor
{
public:
    mutable int calls = 0;
    mutable int rows = 0;
    QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                  bool forward) const override
    {
        QVector<RowSnapshot> result = TableCursor::ReadRows(anchor, count, forward);
        ++calls;
        rows += int(result.size());
        return result;
    }
};

struct Screen
{
    CountingCursor table;
    DataSource source;
    QWidget window;
    DBGrid *grid = nullptr;

    explicit Screen(const QList<GridColumn> &columns = {})
    {
        table.setObjectName(QStringLiteral("Table1"));
        table.setTableName(QStringLiteral("Product"));
        source.setDataSet(&table);
        auto *layout = new QVBoxLayout(&window);
        grid = new DBGrid(&window);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->setDataSource(&source);
        if (!columns.isEmpty())
            grid->setColumns(columns);
        layout->addWidget(grid);
        window.resize(500, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
    }
    QAbstractItemModel *model() const { return grid->model(); }
    QString cell(int row, int column) const
    {
        return model()->index(row, column).data().toString();
    }
    QString current(const char *field) const
    {
        return table.FieldByName(QLatin1String(field))->AsString();
    }
    void click(int row, int column)
    {
        const QRect rect = grid->visualRect(model()->index(row, column));
        QVERIFY(!rect.isEmpty());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Keys go where the user's keyboard goes: to the focused widget (the cell editor once
    // typing has opened it).
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(focused(), c.toLatin1());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), key, modifiers);
    }
    // (The offscreen platform does not hand the activation back to the window after a
    // dialog closes, as a desktop does.)
    QWidget *focused()
    {
        if (!window.isActiveWindow())
            QApplication::setActiveWindow(&window);
        return QApplication::focusWidget() ? QApplication::focusWidget() : window.focusWidget();
    }
};

const QList<GridColumn> ProductColumns = [] {
    GridColumn id;
    id.fieldName = QStringLiteral("ProductID");
    id.title = QStringLiteral("產品編號");
    GridColumn name;
    name.fieldName = QStringLiteral("ProductName");
    name.title = QStringLiteral("產品名稱");
    name.width = 135;
    GridColumn stock;
    stock.fieldName = QStringLiteral("SafeStock");
    return QList<GridColumn>{id, name, stock};
}();

} // namespace

class TestDBGrid : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestDatabase> m_db;

    void addProducts(int count)
    {
        m_db->exec(QStringLiteral(
                       "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c "
                       "WHERE n < ?) INSERT INTO Product (ProductID, ProductName, SafeStock) "
                       "SELECT 'PR' || substr('000000' || n, length('000000' || n) - 5), "
                       "'P' || n, n FROM c"),
                   {count});
    }

private slots:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void firstScreenOfALargeTableReadsAPageOrTwo()
    {
        addProducts(100000);
        Screen s(ProductColumns);
        s.table.Open();
        QTest::qWait(50); // let the view ask for whatever it wants to fill its screen
        QCOMPARE(s.cell(0, 0), QStringLiteral("PR000001"));
        QVERIFY2(s.table.rows <= 400, qPrintable(QString::number(s.table.rows)));
        QVERIFY(s.model()->rowCount() <= 400);
        QCOMPARE(s.grid->currentIndex().row(), 0);

        // Scrolling to the bottom of what is loaded reads the next page, not the table.
        const int before = s.model()->rowCount();
        s.grid->verticalScrollBar()->setValue(s.grid->verticalScrollBar()->maximum());
        QTRY_VERIFY(s.model()->rowCount() > before);
        QVERIFY(s.table.rows <= 600);
    }

    void followsLastWithoutReadingEverything()
    {
        addProducts(100000);
        Screen s(ProductColumns);
        s.table.Open();
        QTest::qWait(20);
        const int readBefore = s.table.rows;
        s.table.Last();
        QTest::qWait(20);
        QVERIFY2(s.table.rows - readBefore <= 400, qPrintable(QString::number(s.table.rows)));
        const int row = s.grid->currentIndex().row();
        QCOMPARE(s.cell(row, 0), QStringLiteral("PR100000"));
        QCOMPARE(row, s.model()->rowCount() - 1);

        // Reaching the top of the re-anchored rows brings the page before them.
        const QString top = s.cell(0, 0);
        const int rows = s.model()->rowCount();
        s.grid->verticalScrollBar()->setValue(0);
        QTRY_VERIFY(s.model()->rowCount() > rows);
        const int added = s.model()->rowCount() - rows;
        QCOMPARE(s.cell(added, 0), top);
        QCOMPARE(s.cell(added - 1, 0).mid(2).toInt(), top.mid(2).toInt() - 1);
        QVERIFY(s.table.rows < 1000);

        // Moving the set elsewhere (a query screen's Locate) follows as well.
        QVERIFY(s.table.Locate(QStringLiteral("ProductID"), QStringLiteral("PR050000")));
        QCOMPARE(s.cell(s.grid->currentIndex().row(), 0), QStringLiteral("PR050000"));
        QVERIFY(s.table.rows < 1500);
    }

    void clickMakesTheRowCurrent()
    {
        addProducts(5);
        Screen s(ProductColumns);
        s.table.Open();
        QSignalSpy clicked(s.grid, &DBGrid::cellClicked);
        s.click(3, 1);
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000004"));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(s.grid->selectedFieldName(), QStringLiteral("ProductName"));

        // Below the last row and on the titles: no cell was clicked.
        const QRect last = s.grid->visualRect(s.model()->index(4, 0));
        QTest::mouseClick(s.grid->viewport(), Qt::LeftButton, {},
                          QPoint(last.center().x(), last.bottom() + 30));
        QCOMPARE(clicked.count(), 1);
        QTest::mouseClick(s.grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(10, 5));
        QCOMPARE(clicked.count(), 1);
        QTest::mouseClick(s.grid->viewport(), Qt::RightButton, {},
                          s.grid->visualRect(s.model()->index(1, 0)).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000004"));

        QSignalSpy doubleClicked(s.grid, &DBGrid::dblClicked);
        QTest::mouseDClick(s.grid->viewport(), Qt::LeftButton, {},
                           s.grid->visualRect(s.model()->index(2, 0)).center());
        QCOMPARE(doubleClicked.count(), 1);
    }

    void typingEditsAndMovingPosts()
    {
        addProducts(3);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 1);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        s.type(QStringLiteral("Tile"));
        QCOMPARE(s.table.State(), DataSetState::Edit);
        s.click(2, 1); // another row: the edited one is posted
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                             "WHERE ProductID = 'PR000002'")).toString(),
                 QStringLiteral("Tile"));
        QCOMPARE(s.cell(1, 1), QStringLiteral("Tile"));
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000003"));

        // Escape takes back the cell, a second Escape the whole row.
        s.type(QStringLiteral("Oops"));
        s.key(Qt::Key_Escape);
        QCOMPARE(s.table.State(), DataSetState::Edit);
        s.key(Qt::Key_Escape);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(s.cell(2, 1), QStringLiteral("P3"));

        // Moving with the keyboard posts too.
        s.type(QStringLiteral("Wood"));
        s.key(Qt::Key_Up);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                             "WHERE ProductID = 'PR000003'")).toString(),
                 QStringLiteral("Wood"));
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000002"));
    }

    void updateRecordHandsTheOpenCellToItsField()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 1);
        s.type(QStringLiteral("Tile"));
        QCOMPARE(s.current("ProductName"), QStringLiteral("P2")); // still in the cell
        s.table.UpdateRecord();
        QCOMPARE(s.current("ProductName"), QStringLiteral("Tile"));
        QCOMPARE(s.table.State(), DataSetState::Edit); // written, not posted
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                             "WHERE ProductID = 'PR000002'")).toString(),
                 QStringLiteral("P2"));
        s.table.Cancel();
        s.table.UpdateRecord(); // in browse: nothing to hand over
        QCOMPARE(s.current("ProductName"), QStringLiteral("P2"));
    }

    void checkWithAMessageWhileTheCellIsHandedOver()
    {
        // A field check that shows a message as the open cell is written at the post: the
        // message shows once, the value is taken and the row posted.
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        int checks = 0;
        test::RulesProbe rules;
        s.table.setRules(&rules);
        rules.onValidate = [&](Field &field) {
            if (field.FieldName() != QLatin1String("ProductName"))
                return;
            ++checks;
            ShowMessage(QStringLiteral("checked"));
        };
        s.click(1, 1);
        s.type(QStringLiteral("Tile"));
        ModalAnswer ok(QMessageBox::Ok);
        s.table.Post();
        QCOMPARE(ok.seen(), 1);
        QCOMPARE(checks, 1);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product "
                                             "WHERE ProductID = 'PR000002'")).toString(),
                 QStringLiteral("Tile"));
    }

    void integerCellsRefuseWhatIsNoNumber()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(0, 2);
        s.type(QStringLiteral("a")); // refused before it edits anything
        QCOMPARE(s.table.State(), DataSetState::Browse);
        s.type(QStringLiteral("1x-2"));
        QCOMPARE(s.table.State(), DataSetState::Edit);
        ModalAnswer answer(QMessageBox::Ok);
        s.click(1, 2);
        QTRY_COMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(),
                 QStringLiteral("'1-2' is not a valid integer value for field 'SafeStock'"));
        // The row stays current and the refused text is offered again for correction.
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000001"));
        QTRY_COMPARE(s.grid->currentIndex().row(), 0);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(s.focused()));
        auto *editor = qobject_cast<QLineEdit *>(s.focused());
        QCOMPARE(editor->text(), QStringLiteral("1-2"));
        editor->setText(QStringLiteral("12"));
        editor->setModified(true);
        s.click(1, 2);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SafeStock FROM Product "
                                             "WHERE ProductID = 'PR000001'")).toInt(), 12);
    }

    // The model only keeps a refused cell text and what the field said: no box opens while
    // setData runs (a view may call it anywhere), and what it kept is the grid's to tell.
    void refusedCellTextOpensNoBoxInsideTheModel()
    {
        addProducts(1);
        Screen s(ProductColumns);
        s.table.Open();
        ModalAnswer answer(QMessageBox::Ok);
        QAbstractItemModel *model = s.model();
        QVERIFY(!model->setData(model->index(0, 2), QStringLiteral("1-2"), Qt::EditRole));
        QCOMPARE(answer.seen(), 0);
        QCOMPARE(s.current("SafeStock"), QStringLiteral("1"));
        // A text taken afterwards leaves nothing stale for the grid to tell at its next
        // commit.
        QVERIFY(model->setData(model->index(0, 2), QStringLiteral("7"), Qt::EditRole));
        QCOMPARE(s.current("SafeStock"), QStringLiteral("7"));
        s.click(0, 1);
        s.type(QStringLiteral("Q"));
        s.click(0, 0);
        QCOMPARE(answer.seen(), 0);
        QVERIFY(s.current("ProductName").endsWith(QLatin1Char('Q')));
    }

    // What an input method types in full-width mode is the number; a pasted text goes in
    // whole when it is a number and not at all when it is not.
    void integerCellsReadFullWidthAndRefusePastedNonNumbers()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(0, 2);
        for (QChar c : QStringLiteral("４２")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(s.focused(), &press);
        }
        QTRY_VERIFY(qobject_cast<QLineEdit *>(s.focused()));
        auto *editor = qobject_cast<QLineEdit *>(s.focused());
        QCOMPARE(editor->text(), QStringLiteral("42"));
        for (const char *refused : {"1.5", "1e10", "0x10"}) {
            QApplication::clipboard()->setText(QString::fromLatin1(refused));
            QTest::keySequence(editor, QKeySequence::Paste);
            QCOMPARE(editor->text(), QStringLiteral("42"));
        }
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("７"));
        QApplication::sendEvent(editor, &commit);
        QCOMPARE(editor->text(), QStringLiteral("427"));
        s.click(1, 2);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SafeStock FROM Product "
                                             "WHERE ProductID = 'PR000001'")).toInt(), 427);

        // A pasted number alone in the cell is written as well.
        s.type(QStringLiteral("1"));
        QTRY_VERIFY(qobject_cast<QLineEdit *>(s.focused()));
        editor = qobject_cast<QLineEdit *>(s.focused());
        editor->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("－１６"));
        QTest::keySequence(editor, QKeySequence::Paste);
        QCOMPARE(editor->text(), QStringLiteral("-16"));
        s.click(0, 2);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SafeStock FROM Product "
                                             "WHERE ProductID = 'PR000002'")).toInt(), -16);
    }

    void downOnTheLastRowAppends()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 0);
        s.key(Qt::Key_Down);
        QCOMPARE(s.table.State(), DataSetState::Insert);
        QCOMPARE(s.model()->rowCount(), 3);
        QCOMPARE(s.grid->currentIndex().row(), 2);
        QCOMPARE(s.cell(2, 0), QString());
        // A new row nobody typed into is not followed by another.
        s.key(Qt::Key_Down);
        QCOMPARE(s.model()->rowCount(), 3);

        s.type(QStringLiteral("PR000009"));
        s.key(Qt::Key_Up); // leaving the new row posts it
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
        QCOMPARE(s.model()->rowCount(), 3);
        QCOMPARE(s.cell(2, 0), QStringLiteral("PR000009"));

        // Leaving a new row without typing drops it.
        s.click(2, 0);
        s.key(Qt::Key_Down);
        QCOMPARE(s.model()->rowCount(), 4);
        s.key(Qt::Key_Up);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(s.model()->rowCount(), 3);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
    }

    void downFromATypedNewRowPostsItAndAppendsBelow()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 0);
        s.key(Qt::Key_Down);
        s.type(QStringLiteral("PR000009"));
        s.key(Qt::Key_Down); // the typed row is posted, the next one comes below it
        QCOMPARE(s.table.State(), DataSetState::Insert);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
        QCOMPARE(s.model()->rowCount(), 4);
        QCOMPARE(s.grid->currentIndex().row(), 3);
        QCOMPARE(s.cell(2, 0), QStringLiteral("PR000009"));
        QCOMPARE(s.cell(3, 0), QString());
        s.click(3, 1); // a click on the new row keeps it
        QCOMPARE(s.table.State(), DataSetState::Insert);
        QCOMPARE(s.model()->rowCount(), 4);
    }

    void insertKeyAddsARowAtTheCursor()
    {
        addProducts(3);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 0);
        s.key(Qt::Key_Insert);
        QCOMPARE(s.table.State(), DataSetState::Insert);
        QCOMPARE(s.model()->rowCount(), 4);
        QCOMPARE(s.grid->currentIndex().row(), 1);
        QCOMPARE(s.cell(1, 0), QString());
        QCOMPARE(s.cell(2, 0), QStringLiteral("PR000002"));
        s.type(QStringLiteral("PR000000"));
        s.key(Qt::Key_Down);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 4);
        QCOMPARE(s.cell(0, 0), QStringLiteral("PR000000")); // in key order once posted
    }

    void ctrlDeleteAsksFirst()
    {
        addProducts(3);
        Screen s(ProductColumns);
        s.table.Open();
        s.click(1, 0);
        {
            ModalAnswer answer(QMessageBox::Cancel);
            s.key(Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(answer.seen(), 1);
            QCOMPARE(answer.text(), QStringLiteral("Delete record?"));
            QCOMPARE(answer.buttons(), QMessageBox::Ok | QMessageBox::Cancel);
            QCOMPARE(m_db->count(QStringLiteral("Product")), 3);
        }
        {
            ModalAnswer answer(QMessageBox::Ok);
            s.key(Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(answer.seen(), 1);
        }
        QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(s.current("ProductID"), QStringLiteral("PR000003"));
        QCOMPARE(s.cell(s.grid->currentIndex().row(), 0), QStringLiteral("PR000003"));
    }

    void readOnlyGridRefusesEditing()
    {
        addProducts(2);
        Screen s(ProductColumns);
        s.grid->setReadOnly(true);
        s.table.Open();
        s.click(1, 1);
        s.type(QStringLiteral("abc"));
        s.key(Qt::Key_F2);
        QTest::mouseDClick(s.grid->viewport(), Qt::LeftButton, {},
                           s.grid->visualRect(s.model()->index(1, 1)).center());
        s.key(Qt::Key_Insert);
        s.key(Qt::Key_Down);
        ModalAnswer answer(QMessageBox::Ok);
        s.key(Qt::Key_Delete, Qt::ControlModifier);
        QTest::qWait(50);
        QCOMPARE(answer.seen(), 0);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(m_db->count(QStringLiteral("Product")), 2);
        QCOMPARE(s.cell(1, 1), QStringLiteral("P2"));
    }

    void emptySetShowsOneEmptyRow()
    {
        Screen s(ProductColumns);
        QCOMPARE(s.model()->rowCount(), 0); // closed: nothing
        s.table.Open();
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.cell(0, 0), QString());
        QSignalSpy clicked(s.grid, &DBGrid::cellClicked);
        s.click(0, 1);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(s.table.State(), DataSetState::Browse);
        QCOMPARE(s.current("ProductName"), QString());

        // Typing into it starts the first row.
        s.type(QStringLiteral("x"));
        QCOMPARE(s.table.State(), DataSetState::Insert);
        QCOMPARE(s.model()->rowCount(), 1);
        s.table.Close();
        QCOMPARE(s.model()->rowCount(), 0);
    }

    void columnsTitlesAndEditButton()
    {
        addProducts(2);
        GridColumn hidden;
        hidden.fieldName = QStringLiteral("TypeName");
        hidden.visible = false;
        GridColumn id;
        id.fieldName = QStringLiteral("ProductID");
        id.title = QStringLiteral("產品編號");
        id.editButton = true;
        GridColumn amount;
        amount.fieldName = QStringLiteral("SafeStock");
        amount.title = QStringLiteral("金額");
        amount.readOnly = true;
        amount.color = QColor(0, 128, 128);
        amount.fontColor = Qt::white;
        GridColumn name;
        name.fieldName = QStringLiteral("ProductName");
        name.width = 135;
        Screen s({hidden, id, amount, name});
        s.table.Open();
        QCOMPARE(s.model()->columnCount(), 3);
        QCOMPARE(s.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("產品編號"));
        QCOMPARE(s.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("金額"));
        QCOMPARE(s.model()->headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("ProductName"));
        QCOMPARE(s.grid->columnWidth(2), 135);
        QCOMPARE(s.model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0, 128, 128));

        // A read-only column takes no typing.
        s.click(0, 1);
        s.type(QStringLiteral("7"));
        QCOMPARE(s.table.State(), DataSetState::Browse);

        // The edit button shows in the current cell of its column only.
        auto *button = s.grid->findChild<QToolButton *>(QStringLiteral("EditButton"));
        QVERIFY(button);
        QVERIFY(!button->isVisible());
        s.click(1, 0);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(s.grid->visualRect(s.model()->index(1, 0)).contains(button->geometry().center()));
        QSignalSpy pressed(s.grid, &DBGrid::editButtonClicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(s.grid->selectedFieldName(), QStringLiteral("ProductID"));
    }

    void linesOfTheCurrentHeaderWithPendingChanges()
    {
        m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID) VALUES ('OD24050001'), "
                                  "('OD24050002')"));
        m_db->exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, ProductID, Quantity) "
                                  "VALUES ('OD24050001', '001', 'PR000001', 1), "
                                  "('OD24050001', '002', 'PR000002', 2), "
                                  "('OD24050002', '001', 'PR000003', 3)"));
        TableCursor header;
        header.setTableName(QStringLiteral("QuoteMaster"));
        DataSource headerSource;
        headerSource.setDataSet(&header);
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID"));
        lines.setMasterSource(&headerSource);
        lines.setMasterFields(QStringLiteral("QuoteID"));
        lines.setCachedUpdates(true);
        // Each new line takes the next sequence number, as the quotation screen gives it.
        test::RulesProbe rules;
        lines.setRules(&rules);
        rules.onNewRecord = [](DataSet &set) {
            set.FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("002"));
        };
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        DataSource lineSource;
        lineSource.setDataSet(&lines);
        auto *grid = new DBGrid(&window);
        GridColumn product;
        product.fieldName = QStringLiteral("ProductID");
        GridColumn quantity;
        quantity.fieldName = QStringLiteral("Quantity");
        grid->setColumns({product, quantity});
        grid->setDataSource(&lineSource);
        layout->addWidget(grid);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        header.Open();
        lines.Open();
        QAbstractItemModel *model = grid->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("PR000002"));

        header.Next(); // the grid follows the header
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("PR000003"));

        // A line appended below the last one stays pending until the updates are applied.
        grid->setFocus();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(model->index(0, 1)).center());
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(lines.State(), DataSetState::Insert);
        QCOMPARE(model->rowCount(), 2);
        QTest::keyClick(grid, Qt::Key_4);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(lines.State(), DataSetState::Browse);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(m_db->count(QStringLiteral("QuoteDetail")), 3);
        lines.ApplyUpdates();
        QCOMPARE(m_db->count(QStringLiteral("QuoteDetail")), 4);
        QCOMPARE(model->rowCount(), 2);
    }

    void withoutColumnsEveryFieldShows()
    {
        addProducts(1);
        Screen s;
        s.table.Open();
        QCOMPARE(s.model()->columnCount(), s.table.FieldCount());
        QCOMPARE(s.model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("ProductID"));
        QCOMPARE(s.model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("ProductName"));
        QCOMPARE(s.cell(0, 1), QStringLiteral("P1"));
    }
};

QTEST_MAIN(TestDBGrid)
#include "tst_dbgrid.moc"
