#include "controls/dblookupcombobox.h"
#include "data/records/dataset.h"
#include "data/records/datasource.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "testsupport/testdatabase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace tb;
using tb::test::TestDatabase;

namespace {

class CountingCursor : public TableCursor
{
public:
    mutable int rows = 0;
    QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                  bool forward) const override
    {
        QVector<RowSnapshot> result = TableCursor::ReadRows(anchor, count, forward);
        rows += int(result.size());
        return result;
    }
};

// The quotation header's customer box in miniature.
struct Screen
{
    TableCursor header;
    CountingCursor customers;
    DataSource headerSource, customerSource;
    DBLookupComboBox box;

    Screen()
    {
        customers.setTableName(QStringLiteral("Customer"));
        customerSource.setDataSet(&customers);
        header.setTableName(QStringLiteral("QuoteMaster"));
        header.AddField(QStringLiteral("QuoteID"), FieldType::String, 10);
        header.AddField(QStringLiteral("CustomerID"), FieldType::String, 8);
        header.AddLookupField(QStringLiteral("CUST_ID2"), FieldType::String, 8,
                              QStringLiteral("CustomerID"), &customers,
                              QStringLiteral("CustomerID"), QStringLiteral("CustomerID"));
        headerSource.setDataSet(&header);
        box.setObjectName(QStringLiteral("EditCUSTID"));
        box.setDataSource(&headerSource);
        box.setDataField(QStringLiteral("CUST_ID2"));
        box.setListSource(&customerSource);
        box.setKeyField(QStringLiteral("CustomerID"));
        box.setListFields(QStringLiteral("CustomerID;CustomerAttribName"));
        box.setDropDownWidth(150);
        box.resize(120, 24);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
    }
};

} // namespace

class TestDBLookupComboBox : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestDatabase> m_db;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 5000) "
            "INSERT INTO Customer (CustomerID, CustomerAttribName) "
            "SELECT 'CU' || substr('000000' || n, length('000000' || n) - 5), '客戶' || n "
            "FROM c"));
        m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID, CustomerID) "
                                  "VALUES ('OD24050001', 'CU000002')"));
    }
    void cleanup() { m_db.reset(); }

    void showsTheLookedUpValue()
    {
        Screen s;
        QCOMPARE(s.box.displayText(), QString());
        s.customers.Open();
        s.header.Open();
        QCOMPARE(s.box.displayText(), QStringLiteral("CU000002"));
        s.header.Close();
        QCOMPARE(s.box.displayText(), QString());
    }

    void listsPageByPageWithAllListedColumns()
    {
        Screen s;
        s.customers.Open();
        s.header.Open();
        s.box.showPopup();
        QAbstractItemModel *model = s.box.model();
        QCOMPARE(model->columnCount(), 2);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("CU000001"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("客戶1"));
        QVERIFY(s.box.view()->width() >= 150);
        QVERIFY2(s.customers.rows <= 300, qPrintable(QString::number(s.customers.rows)));
        QVERIFY(model->rowCount() < 5000);
        // The current customer is the highlighted row.
        QCOMPARE(s.box.currentIndex(), 1);

        const int loaded = model->rowCount();
        QScrollBar *bar = s.box.view()->verticalScrollBar();
        bar->setValue(bar->maximum());
        QTRY_VERIFY(model->rowCount() > loaded);
        s.box.hidePopup();
    }

    void choosingSetsTheKeyAndEditsTheRecord()
    {
        Screen s;
        s.customers.Open();
        s.header.Open();
        QCOMPARE(s.header.State(), DataSetState::Browse);
        s.box.showPopup();
        emit s.box.activated(4); // the user picks the fifth customer
        QCOMPARE(s.header.State(), DataSetState::Edit);
        QCOMPARE(s.header.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QStringLiteral("CU000005"));
        QCOMPARE(s.box.displayText(), QStringLiteral("CU000005"));
        s.header.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT CustomerID FROM QuoteMaster")).toString(),
                 QStringLiteral("CU000005"));

        // The keyboard on the closed box chooses as well.
        s.box.hidePopup();
        s.box.setFocus();
        QTest::keyClick(&s.box, Qt::Key_Down);
        QCOMPARE(s.header.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QStringLiteral("CU000006"));
    }
};

QTEST_MAIN(TestDBLookupComboBox)
#include "tst_dblookupcombobox.moc"
