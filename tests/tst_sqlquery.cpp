// SQL queries: lazy reading, parameters, read-only, the connection-string query.

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/records/searchstatement.h"
#include "data/records/sqlquery.h"
#include "data/book/transaction.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

using namespace tb;
using tb::test::errorOf;
using tb::test::walk;

class TestSqlQuery : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_db;

private slots:
    void init()
    {
        m_db = std::make_unique<test::TestDatabase>();
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES "
                                  "('UN0001', '箱'), ('UN0002', '支'), ('UN0003', '\"x\"')"));
    }
    void cleanup() { m_db.reset(); }

    void readsByAliasWithParameters()
    {
        SqlQuery query;
        query.SQL().Add(QStringLiteral("select UnitID as 單位編號, UnitName as 單位名稱 "));
        query.SQL().Add(QStringLiteral("from Unit where UnitName = ? or UnitID = ? order by UnitID"));
        query.setParams({QStringLiteral("\"x\""), QStringLiteral("UN0001")});
        query.Open();
        QCOMPARE(query.FieldCount(), 2);
        QCOMPARE(query.FieldAt(0)->FieldName(), QString("單位編號"));
        QVERIFY(query.Bof() && !query.Eof());
        QStringList seen;
        while (!query.Eof()) {
            seen << query.FieldByName(QStringLiteral("單位名稱"))->AsString();
            query.Next();
        }
        QCOMPARE(seen, (QStringList{"箱", "\"x\""}));
        QVERIFY(query.Locate(QStringLiteral("單位編號"), QStringLiteral("UN0003")));
        QCOMPARE(query.FieldAt(1)->AsString(), QString("\"x\""));
        query.Prior();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("UN0001"));

        QCOMPARE(errorOf([&] { query.Edit(); }), QString("Cannot modify a read-only dataset"));
        QCOMPARE(errorOf([&] { query.Insert(); }), QString("Cannot modify a read-only dataset"));
        QCOMPARE(query.State(), DataSetState::Browse);

        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0004', 'x')"));
        query.setParams({QStringLiteral("x"), QStringLiteral("UN0001")});
        query.Refresh(); // runs again
        query.Last();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("UN0004"));
        query.Close();
        QCOMPARE(query.FieldCount(), 0);
    }

    void emptyResultAndBadStatement()
    {
        SqlQuery query;
        query.SQL().Add(QStringLiteral("select * from Unit where UnitID = ?"));
        query.setParams({QStringLiteral("none")});
        query.Open();
        QVERIFY(query.Bof() && query.Eof());
        QCOMPARE(query.FieldByName(QStringLiteral("UnitName"))->AsString(), QString());
        query.Close();
        query.SQL().Clear();
        query.SQL().Add(QStringLiteral("select * from"));
        QVERIFY(!errorOf([&] { query.Open(); }).isEmpty());
        QVERIFY(!query.Active());
    }

    void rowsAreFetchedLazily()
    {
        // Rows past the thousandth fail when the engine steps onto them, so a query that
        // read ahead would fail on Open; reading the first screen must not.
        if (test::TestDatabase::onServer())
            QSKIP("A server connection reads a result without a key whole when it opens it: "
                  "the next statement on the connection would throw the rest away");
        SqlQuery query;
        query.SQL().Add(QStringLiteral(
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 1000000) "
            "SELECT CASE WHEN x <= 1000 THEN x ELSE abs(-9223372036854775807 - 1) END AS v "
            "FROM n"));
        query.Open();
        QCOMPARE(query.FieldAt(0)->DataType(), FieldType::Integer);
        const QVector<RowSnapshot> page = query.ReadRows({}, 40, true);
        QCOMPARE(page.size(), 40);
        QCOMPARE(page[39].values[0].toInt(), 40);
        QCOMPARE(query.ReadRows(page[39].bookmark, 5, true).first().values[0].toInt(), 41);
        QCOMPARE(query.FieldAt(0)->AsInteger(), 1); // the cursor did not move
        QVERIFY(!errorOf([&] { query.Last(); }).isEmpty());
    }

    void connectionQueryReachesTheSameFile()
    {
        ConnectionQuery query;
        query.setConnectionString(Database::connectionString());
        QVERIFY(query.ConnectionString().contains(QStringLiteral("Data Source=")));
        query.SQL().Add(QStringLiteral("select UnitID as 單位編號 from Unit"));
        query.Open();
        query.Last();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("UN0003"));
        const QVector<RowSnapshot> tail = query.ReadRows({}, 2, false);
        QCOMPARE(tail.size(), 2);
        QCOMPARE(tail[1].values[0].toString(), QString("UN0003"));
        QVERIFY(query.CompareBookmarks(tail[0].bookmark, tail[1].bookmark) < 0);
    }

    void pagedByAUniqueKey()
    {
        // A result read by its key a page at a time: the far end of a large result, the
        // neighbours of any row and a search, without reading the rows in between.
        {
            QSqlDatabase db = Database::connection();
            Transaction transaction(db);
            QSqlQuery insert(db);
            QVERIFY(insert.prepare(QStringLiteral(
                "INSERT INTO Product (ProductID, ProductName, LastPurchaseDate) "
                "VALUES (?, ?, ?)")));
            for (int i = 0; i < 20000; ++i) {
                const int key = (i * 7919) % 20000 + 1; // out of key order
                insert.addBindValue(QStringLiteral("PR%1").arg(key, 6, 10, QLatin1Char('0')));
                insert.addBindValue(key % 2 ? QStringLiteral("磁磚") : QStringLiteral("地板"));
                insert.addBindValue(QStringLiteral("2024-05-%1").arg(1 + key % 3, 2, 10,
                                                                   QLatin1Char('0')));
                QVERIFY(insert.exec());
            }
            transaction.commit();
        }
        ConnectionQuery query;
        query.setConnectionString(Database::connectionString());
        query.SQL().Add(QStringLiteral("select ProductID as 商品編號, ProductName as 商品名稱"));
        query.SQL().Add(QStringLiteral(", LastPurchaseDate as 最近進貨日 "));
        query.SQL().Add(QStringLiteral("from Product where ProductName = ?"));
        query.setParams({QStringLiteral("磁磚")});
        query.setUniqueKey(QStringLiteral("商品編號"));
        query.AddField(QStringLiteral("商品編號"), FieldType::String, 8);
        query.AddField(QStringLiteral("商品名稱"), FieldType::String, 60);
        Field *date = query.AddField(QStringLiteral("最近進貨日"), FieldType::DateTime);
        query.Open();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR000001"));
        QCOMPARE(date->AsDateTime().date(), QDate(2024, 5, 2));
        query.Last();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR019999"));
        QVERIFY(query.Eof());
        query.Prior();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR019997"));
        const Bookmark mark = query.GetBookmark();
        query.First();
        query.Next();
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR000003"));
        query.GotoBookmark(mark);
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR019997"));
        QVERIFY(query.Locate(QStringLiteral("商品編號"), QStringLiteral("PR000101")));
        QVERIFY(!query.Locate(QStringLiteral("商品編號"), QStringLiteral("PR000100")));
        QCOMPARE(query.FieldAt(0)->AsString(), QString("PR000101"));

        const QVector<RowSnapshot> last = query.ReadRows({}, 3, false);
        QCOMPARE(last.size(), 3);
        QCOMPARE(last[0].values[0].toString(), QString("PR019995"));
        QCOMPARE(last[2].values[0].toString(), QString("PR019999"));
        const QVector<RowSnapshot> before = query.ReadRows(last[0].bookmark, 2, false);
        QCOMPARE(before[1].values[0].toString(), QString("PR019993"));
        QVERIFY(query.CompareBookmarks(before[0].bookmark, last[2].bookmark) < 0);
        QCOMPARE(query.ReadRows(last[2].bookmark, 5, true).size(), 0);

        // The key column must be one of the result's.
        ConnectionQuery wrong;
        wrong.setConnectionString(Database::connectionString());
        wrong.SQL().Add(QStringLiteral("select ProductName as 商品名稱 from Product"));
        wrong.setUniqueKey(QStringLiteral("商品編號"));
        QCOMPARE(errorOf([&] { wrong.Open(); }), QString("Field '商品編號' not found"));
        QVERIFY(!wrong.Active());
    }

    void pagedBackwardReadsKeepUnkeyedRowsAndSearchTheIndex()
    {
        // A unique column may hold one row without a value, which sorts first.
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES ('UN0004', NULL)"));
        ConnectionQuery query;
        query.setConnectionString(Database::connectionString());
        query.SQL().Add(QStringLiteral("select UnitName as 單位名稱, UnitID as 單位編號"));
        query.SQL().Add(QStringLiteral("from Unit"));
        query.setUniqueKey(QStringLiteral("單位名稱"));
        query.Open();
        const QVector<RowSnapshot> all = query.ReadRows({}, 10, false);
        QCOMPARE(all.size(), 4);
        QCOMPARE(all[0].values[1].toString(), QString("UN0004"));
        const QVector<RowSnapshot> before = query.ReadRows(all[3].bookmark, 10, false);
        QCOMPARE(before.size(), 3);
        QCOMPARE(before[0].values[1].toString(), QString("UN0004"));
        QCOMPARE(before[2].values[0].toString(), QString("支"));
        QCOMPARE(query.ReadRows(all[2].bookmark, 1, false)[0].values[0].toString(),
                 QString("\"x\""));
        query.Last();
        query.Prior();
        query.Prior();
        query.Prior();
        QVERIFY(query.FieldAt(0)->IsNull());
        query.Prior();
        QVERIFY(query.Bof());

        // Every statement a search sends finds its rows through an index, in key order.
        ConnectionQuery search;
        search.setConnectionString(Database::connectionString());
        search.SQL().Add(QStringLiteral("select ProductID as 商品編號, ProductName as 商品名稱"));
        search.SQL().Add(QStringLiteral("from Product where ProductName = ?"));
        search.setParams({QStringLiteral("地板")});
        search.setUniqueKey(QStringLiteral("商品編號"));
        search.Open();
        if (test::TestDatabase::onServer())
            test::TestDatabase::preferIndexes();
        const QStringList plans = search.QueryPlans();
        QCOMPARE(plans.size(), 6);
        for (const QString &plan : plans) {
            if (test::TestDatabase::onServer()) {
                QVERIFY2(plan.contains(QStringLiteral("Index")), qPrintable(plan));
                QVERIFY2(!plan.contains(QStringLiteral("Sort")), qPrintable(plan));
                continue;
            }
            QVERIFY2(plan.contains(QStringLiteral(": SEARCH Product USING ")), qPrintable(plan));
            QVERIFY2(!plan.contains(QStringLiteral("TEMP B-TREE")), qPrintable(plan));
        }
        search.Close();
        QVERIFY(search.QueryPlans().isEmpty());
    }

    void searchStatementTypesItsColumnsAndBindsItsValue()
    {
        const SearchStatement statement(
            QStringLiteral("Duty"),
            {QStringLiteral("select DutyID as 職務編號, DutyName as 職務名稱, Memo as 職務說明 ")},
            QStringLiteral("from Duty"),
            {{QStringLiteral("from Duty where DutyID ="), false},
             {QStringLiteral("from Duty where Memo ="), false}});
        const std::vector<ColumnDef> columns = statement.resultColumns();
        QCOMPARE(columns.size(), std::size_t(3));
        QCOMPARE(columns[1].name, QString("職務名稱"));
        QCOMPARE(columns[1].size, 20);
        QCOMPARE(columns[2].type, FieldType::Memo);

        SqlQuery query;
        statement.applyTo(query, 1, QString());
        QCOMPARE(query.SQL().Lines().last(), QString("from Duty"));
        query.Open();
        QCOMPARE(walk(query, QStringLiteral("職務編號")), QStringList());
        query.Close();
        m_db->exec(QStringLiteral("INSERT INTO Duty VALUES ('DU0001', 'x', '\" or \"\"=\"')"));
        statement.applyTo(query, 1, QStringLiteral("\" or \"\"=\""));
        QCOMPARE(query.SQL().Lines().last(), QString("from Duty where Memo = ?"));
        query.Open();
        QCOMPARE(walk(query, QStringLiteral("職務編號")), QStringList{"DU0001"});
        query.Close();
        QCOMPARE(errorOf([&] { statement.applyTo(query, 2, QStringLiteral("x")); }),
                 QString("No column is chosen to search"));

        const SearchStatement wrong(QStringLiteral("Duty"),
                                    {QStringLiteral("select DutyID as 編號, Name as 名稱")},
                                    QStringLiteral("from Duty"), {});
        QCOMPARE(errorOf([&] { wrong.resultColumns(); }),
                 QString("'Name as 名稱' names no column of 'Duty'"));
    }
};

QTEST_GUILESS_MAIN(TestSqlQuery)
#include "tst_sqlquery.moc"
