// Table cursors: keyset navigation, null keys, bookmarks, ranges, master/detail, big tables.

#include "data/book/database.h"
#include "data/book/transaction.h"
#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/book/schema.h"
#include "data/records/tablecursor.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/testdatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace tb;
using tb::test::errorOf;
using tb::test::walk;

class TestTableCursor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_db;

    // The line table as an existing SQLite file has it, without a key, its rows told apart
    // by row id; a server table always has a key, here the item number.
    void useLineTableOfAnOldFile()
    {
        const bool server = test::TestDatabase::onServer();
        m_db->exec(QStringLiteral("DROP TABLE QuoteDetail"));
        QStringList columns;
        for (const ColumnDef &c : Schema::table(QStringLiteral("QuoteDetail"))->columns) {
            QString column = quoteName(Schema::sqlName(c.name, server)) + QLatin1Char(' ')
                             + Schema::sqlType(c.type);
            if (c.type == FieldType::String)
                column += QStringLiteral("(%1)").arg(c.size);
            if (server && c.type != FieldType::Integer)
                column += QStringLiteral(" COLLATE \"C\"");
            if (server && c.name == QLatin1String("QdetailID"))
                column += QStringLiteral(" PRIMARY KEY");
            columns << column;
        }
        m_db->exec(QStringLiteral("CREATE TABLE QuoteDetail (%1)")
                       .arg(columns.join(QLatin1String(", "))));
        Database::closeAll(); // forget the columns read before the table changed
    }

    void addLine(const QString &quote, const QString &seq, const QString &item)
    {
        m_db->exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, Quantity) "
                                  "VALUES (?, ?, ?, 1)"),
                   {quote.isEmpty() ? QVariant() : QVariant(quote), seq, item});
    }

private slots:
    void init() { m_db = std::make_unique<test::TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void navigationWithDuplicateAndNullKeys()
    {
        // Lines ordered by QuoteID alone: equal keys fall back to the row identity, and a
        // null key sorts first.
        useLineTableOfAnOldFile();
        addLine(QStringLiteral("OD2"), QStringLiteral("001"), QStringLiteral("a"));
        addLine(QStringLiteral("OD1"), QStringLiteral("001"), QStringLiteral("b"));
        addLine(QString(), QStringLiteral("001"), QStringLiteral("c"));
        addLine(QStringLiteral("OD2"), QStringLiteral("002"), QStringLiteral("d"));
        addLine(QString(), QStringLiteral("002"), QStringLiteral("e"));
        addLine(QStringLiteral("OD1"), QStringLiteral("002"), QStringLiteral("f"));
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID"));
        lines.Open();
        const QStringList forward{"c", "e", "b", "f", "a", "d"};
        QCOMPARE(walk(lines, QStringLiteral("QdetailID")), forward);
        QStringList backward = forward;
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(walk(lines, QStringLiteral("QdetailID"), true), backward);

        // The same through grid pages, from both ends and from an anchor.
        const QVector<RowSnapshot> firstPage = lines.ReadRows({}, 4, true);
        QCOMPARE(firstPage.size(), 4);
        const int item = lines.FieldByName(QStringLiteral("QdetailID"))->Index();
        QCOMPARE(firstPage[3].values[item].toString(), QString("f"));
        const QVector<RowSnapshot> rest = lines.ReadRows(firstPage[3].bookmark, 4, true);
        QCOMPARE(rest.size(), 2);
        QCOMPARE(rest[0].values[item].toString(), QString("a"));
        const QVector<RowSnapshot> before = lines.ReadRows(rest[0].bookmark, 3, false);
        QCOMPARE(before.size(), 3);
        QCOMPARE(before[0].values[item].toString(), QString("e"));
        QCOMPARE(before[2].values[item].toString(), QString("f"));
        const QVector<RowSnapshot> lastPage = lines.ReadRows({}, 2, false);
        QCOMPARE(lastPage[0].values[item].toString(), QString("a"));
        QCOMPARE(lastPage[1].values[item].toString(), QString("d"));
        QVERIFY(lines.CompareBookmarks(firstPage[0].bookmark, rest[1].bookmark) < 0);

        // The order by two fields.
        lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        QCOMPARE(walk(lines, QStringLiteral("QdetailID"), true),
                 (QStringList{"d", "a", "f", "b", "e", "c"}));
    }

    void deletionKeepsNeighbours()
    {
        for (int i = 1; i <= 5; ++i)
            m_db->exec(QStringLiteral("INSERT INTO Color (ColorID, ColorName) VALUES (?, ?)"),
                       {QStringLiteral("CO%1").arg(i, 4, 10, QLatin1Char('0')),
                        QString::number(i)});
        TableCursor colors;
        colors.setTableName(QStringLiteral("Color"));
        colors.setIndexFieldNames(QStringLiteral("ColorID"));
        colors.Open();
        colors.Next();
        colors.Next(); // CO0003
        // Someone else removes the neighbours: the cursor still finds its way by key.
        m_db->exec(QStringLiteral("DELETE FROM Color WHERE ColorID IN ('CO0002', 'CO0004')"));
        colors.Next();
        QCOMPARE(colors.FieldByName(QStringLiteral("ColorID"))->AsString(), QString("CO0005"));
        colors.Prior();
        colors.Prior();
        QCOMPARE(colors.FieldByName(QStringLiteral("ColorID"))->AsString(), QString("CO0001"));
        colors.Locate(QStringLiteral("ColorID"), QStringLiteral("CO0003"));
        m_db->exec(QStringLiteral("DELETE FROM Color WHERE ColorID = 'CO0003'"));
        colors.Refresh(); // the current row is gone: its neighbour becomes current
        QCOMPARE(colors.FieldByName(QStringLiteral("ColorID"))->AsString(), QString("CO0005"));
    }

    void bookmarksLocateFindKey()
    {
        for (int i = 1; i <= 4; ++i)
            m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerName) "
                                      "VALUES (?, ?)"),
                       {QStringLiteral("CU%1").arg(i, 6, 10, QLatin1Char('0')),
                        i == 3 ? QStringLiteral("Ab") : QStringLiteral("n%1").arg(i)});
        TableCursor customers;
        customers.setTableName(QStringLiteral("Customer"));
        customers.Open();
        customers.Next();
        Bookmark mark = customers.GetBookmark();
        QVERIFY(customers.BookmarkValid(mark));
        customers.Last();
        customers.GotoBookmark(mark);
        QCOMPARE(customers.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QString("CU000002"));
        customers.FreeBookmark(mark);
        QVERIFY(mark.isNull());

        QVERIFY(!customers.Locate(QStringLiteral("CustomerName"), QStringLiteral("ab")));
        QCOMPARE(customers.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QString("CU000002")); // stays put
        QVERIFY(customers.Locate(QStringLiteral("CustomerName"), QStringLiteral("Ab")));
        QCOMPARE(customers.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QString("CU000003"));
        QVERIFY(customers.FindKey({QStringLiteral("CU000004")}));
        QCOMPARE(customers.FieldByName(QStringLiteral("CustomerName"))->AsString(), QString("n4"));
        QVERIFY(!customers.FindKey({QStringLiteral("CU000009")}));
        QCOMPARE(customers.Lookup(QStringLiteral("CustomerID"), QStringLiteral("CU000001"),
                                  QStringLiteral("CustomerName")).toString(), QString("n1"));
        QCOMPARE(customers.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QString("CU000004"));
        m_db->exec(QStringLiteral("DELETE FROM Customer WHERE CustomerID = 'CU000004'"));
        const Bookmark gone = customers.GetBookmark();
        QVERIFY(!customers.BookmarkValid(gone));
        QCOMPARE(errorOf([&] { customers.GotoBookmark(gone); }), QString("Record not found"));
    }

    void bookmarkOfADeletedRowNeverLandsOnAnother()
    {
        // SQLite hands the largest row id out again once its row is gone.
        for (const char *id : {"PR000001", "PR000002"})
            m_db->exec(QStringLiteral("INSERT INTO Product (ProductID) VALUES (?)"),
                       {QLatin1String(id)});
        TableCursor products;
        products.setTableName(QStringLiteral("Product"));
        products.setIndexFieldNames(QStringLiteral("ProductName"));
        products.Open();
        products.Last();
        const Bookmark mark = products.GetBookmark();
        products.Delete();
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID) VALUES ('PR000003')"));
        QVERIFY(!products.BookmarkValid(mark));
        QCOMPARE(errorOf([&] { products.GotoBookmark(mark); }), QString("Record not found"));

        // The same for a table without a key, whose rows are told apart by row id: the
        // bookmark's order keys must still match.
        useLineTableOfAnOldFile();
        addLine(QStringLiteral("OD1"), QStringLiteral("001"), QStringLiteral("a"));
        addLine(QStringLiteral("OD1"), QStringLiteral("002"), QStringLiteral("b"));
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        lines.Open();
        lines.Last();
        const Bookmark line = lines.GetBookmark();
        lines.Delete();
        addLine(QStringLiteral("OD1"), QStringLiteral("003"), QStringLiteral("c"));
        QCOMPARE(errorOf([&] { lines.GotoBookmark(line); }), QString("Record not found"));
    }

    void keyedTableNeedsNoRowId()
    {
        // A table without row ids (as a server database has none) works all the same: rows
        // are found, updated and deleted by their key.
        m_db->exec(QStringLiteral("DROP TABLE Unit"));
        m_db->exec(QStringLiteral("CREATE TABLE Unit (UnitID VARCHAR(8) NOT NULL PRIMARY KEY, "
                                  "UnitName VARCHAR(20), Memo TEXT)%1")
                       .arg(test::TestDatabase::onServer() ? QString()
                                                           : QStringLiteral(" WITHOUT ROWID")));
        Database::closeAll(); // forget the columns read before the table changed
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES "
                                  "('UN0001', 'c'), ('UN0002', 'b'), ('UN0003', 'a')"));
        TableCursor units;
        units.setTableName(QStringLiteral("Unit"));
        units.setIndexFieldNames(QStringLiteral("UnitName"));
        units.Open();
        QCOMPARE(walk(units, QStringLiteral("UnitID"), true),
                 (QStringList{"UN0001", "UN0002", "UN0003"}));
        units.First();
        units.Next();
        const Bookmark mark = units.GetBookmark();
        units.Edit();
        units.FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("zz"));
        units.Post();
        QCOMPARE(units.FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0002"));
        units.First();
        units.Delete();
        QCOMPARE(walk(units, QStringLiteral("UnitID")), (QStringList{"UN0001", "UN0002"}));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT UnitName FROM Unit WHERE UnitID = 'UN0002'"))
                     .toString(), QString("zz"));
        QCOMPARE(errorOf([&] { units.GotoBookmark(mark); }), QString()); // key, not order
    }

    void editsOfAnotherCopyAreNeverOverwritten()
    {
        // Two copies of the application: two connections on one file.
        Database::setPath(QStringLiteral("second copy"), m_db->path());
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, PriceA) "
                                  "VALUES ('PR000001', '磁磚', 100)"));
        TableCursor mine, theirs;
        for (TableCursor *copy : {&mine, &theirs})
            copy->setTableName(QStringLiteral("Product"));
        theirs.setDatabaseName(QStringLiteral("second copy"));
        mine.Open();
        theirs.Open();
        auto set = [](TableCursor &copy, const char *field, const QVariant &value) {
            copy.Edit();
            copy.FieldByName(QLatin1String(field))->setAsVariant(value);
        };
        set(theirs, "ProductName", QStringLiteral("地板"));
        theirs.Post();
        set(mine, "ProductName", QStringLiteral("壁紙"));
        QCOMPARE(errorOf([&] { mine.Post(); }),
                 RecordChangedError::Sentence + "\nRecord not found or changed by another user");
        QCOMPARE(mine.State(), DataSetState::Edit); // the user's value is still there
        QCOMPARE(mine.FieldByName(QStringLiteral("ProductName"))->AsString(), QString("壁紙"));
        mine.Cancel();
        mine.Refresh();
        QCOMPARE(mine.FieldByName(QStringLiteral("ProductName"))->AsString(), QString("地板"));

        // Changes of different fields of one record both survive.
        set(theirs, "PriceA", 120);
        set(mine, "ProductName", QStringLiteral("壁紙"));
        theirs.Post();
        QCOMPARE(errorOf([&] { mine.Post(); }), QString());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName || ':' || PriceA FROM Product"))
                     .toString(), QString("壁紙:120"));

        // Reloading after a refusal keeps the fields this edit changed and takes the others
        // from the stored record; the next post writes over the new stored values.
        theirs.Refresh();
        set(theirs, "ProductName", QStringLiteral("石材"));
        theirs.FieldByName(QStringLiteral("PriceA"))->setAsInteger(150);
        theirs.Post();
        set(mine, "PriceB", 95);
        mine.FieldByName(QStringLiteral("ProductName"))->setAsString(QStringLiteral("磁磚"));
        QVERIFY(!errorOf([&] { mine.Post(); }).isEmpty());
        QVERIFY(mine.ReloadKeepingChanges());
        QCOMPARE(mine.State(), DataSetState::Edit);
        QCOMPARE(mine.FieldByName(QStringLiteral("ProductName"))->AsString(), QString("磁磚"));
        QCOMPARE(mine.FieldByName(QStringLiteral("PriceB"))->AsInteger(), 95);
        QCOMPARE(mine.FieldByName(QStringLiteral("PriceA"))->AsInteger(), 150);
        QCOMPARE(errorOf([&] { mine.Post(); }), QString());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName || ':' || PriceA || ':' || "
                                             "PriceB FROM Product")).toString(),
                 QString("磁磚:150:95"));

        // A record another copy deleted has nothing to reload: the edit stays as it was.
        set(mine, "ProductName", QStringLiteral("木板"));
        m_db->exec(QStringLiteral("DELETE FROM Product"));
        QVERIFY(!errorOf([&] { mine.Post(); }).isEmpty());
        QVERIFY(!mine.ReloadKeepingChanges());
        QCOMPARE(mine.State(), DataSetState::Edit);
        QCOMPARE(mine.FieldByName(QStringLiteral("ProductName"))->AsString(), QString("木板"));
        mine.Cancel();
        theirs.Close();
        Database::setPath(QStringLiteral("second copy"), QString());
    }

    void keyRanges()
    {
        for (const char *id : {"OD24040007", "OD24050001", "OD24050009", "OD24060001"})
            m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID) VALUES (?)"),
                       {QString::fromLatin1(id)});
        TableCursor quotes;
        quotes.setTableName(QStringLiteral("QuoteMaster"));
        quotes.setIndexFieldNames(QStringLiteral("QuoteID"));
        quotes.Open();
        quotes.SetRangeStart({QStringLiteral("OD2405") + QStringLiteral("0000")});
        quotes.SetRangeEnd({QStringLiteral("OD2405") + QStringLiteral("9999")});
        quotes.ApplyRange();
        quotes.Last();
        QCOMPARE(quotes.FieldByName(QStringLiteral("QuoteID"))->AsString(),
                 QString("OD24050009"));
        QCOMPARE(walk(quotes, QStringLiteral("QuoteID")),
                 (QStringList{"OD24050001", "OD24050009"}));
        // Bounds are inclusive.
        quotes.SetRange({QStringLiteral("OD24050001")}, {QStringLiteral("OD24060001")});
        QCOMPARE(walk(quotes, QStringLiteral("QuoteID")).size(), 3);
        // An empty range: Last gives Bof and Eof and empty texts.
        quotes.SetRange({QStringLiteral("OD24070000")}, {QStringLiteral("OD24079999")});
        quotes.Last();
        QVERIFY(quotes.Bof() && quotes.Eof());
        QCOMPARE(quotes.FieldByName(QStringLiteral("QuoteID"))->AsString(), QString());
        quotes.CancelRange();
        QCOMPARE(walk(quotes, QStringLiteral("QuoteID")).size(), 4);

        // A partial key on a two-field order.
        addLine(QStringLiteral("OD1"), QStringLiteral("001"), QStringLiteral("001"));
        addLine(QStringLiteral("OD1"), QStringLiteral("003"), QStringLiteral("002"));
        addLine(QStringLiteral("OD2"), QStringLiteral("001"), QStringLiteral("001"));
        addLine(QStringLiteral("OD0"), QStringLiteral("005"), QStringLiteral("001"));
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        lines.SetRange({QStringLiteral("OD1"), QStringLiteral("000")},
                       {QStringLiteral("OD1"), QStringLiteral("999")});
        lines.Open(); // a range set before Open applies
        lines.Last();
        QCOMPARE(lines.FieldByName(QStringLiteral("SEQ"))->AsString(), QString("003"));
        QCOMPARE(walk(lines, QStringLiteral("SEQ")), (QStringList{"001", "003"}));
        // Rows written through the ranged cursor land by key.
        lines.Insert();
        lines.FieldByName(QStringLiteral("QuoteID"))->setAsString(QStringLiteral("OD1"));
        lines.FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("002"));
        lines.Post();
        QCOMPARE(lines.FieldByName(QStringLiteral("SEQ"))->AsString(), QString("002"));
        lines.Next();
        QCOMPARE(lines.FieldByName(QStringLiteral("SEQ"))->AsString(), QString("003"));
    }

    void masterDetail()
    {
        m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID) VALUES ('OD1'), ('OD2'), "
                                  "('OD3')"));
        addLine(QStringLiteral("OD1"), QStringLiteral("001"), QStringLiteral("001"));
        addLine(QStringLiteral("OD1"), QStringLiteral("002"), QStringLiteral("002"));
        addLine(QStringLiteral("OD2"), QStringLiteral("001"), QStringLiteral("001"));
        TableCursor header;
        header.setTableName(QStringLiteral("QuoteMaster"));
        DataSource headerSource;
        headerSource.setDataSet(&header);
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID"));
        lines.setMasterSource(&headerSource);
        lines.setMasterFields(QStringLiteral("QuoteID"));
        header.Open();
        lines.Open();
        QCOMPARE(walk(lines, QStringLiteral("SEQ")), (QStringList{"001", "002"}));
        header.Next();
        QCOMPARE(walk(lines, QStringLiteral("SEQ")), QStringList{"001"});
        QCOMPARE(lines.FieldByName(QStringLiteral("QuoteID"))->AsString(), QString("OD2"));
        header.Next();
        QVERIFY(lines.Bof() && lines.Eof());
        // A new line takes the header's number.
        lines.Insert();
        QCOMPARE(lines.FieldByName(QStringLiteral("QuoteID"))->AsString(), QString("OD3"));
        lines.FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("001"));
        // Moving the header posts the line first.
        header.First();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM QuoteDetail "
                                             "WHERE QuoteID = 'OD3'")).toInt(), 1);
        QCOMPARE(walk(lines, QStringLiteral("QuoteID")), (QStringList{"OD1", "OD1"}));
        // A header being inserted has no lines until it has a number.
        header.Insert();
        QVERIFY(lines.Bof() && lines.Eof());
        header.FieldByName(QStringLiteral("QuoteID"))->setAsString(QStringLiteral("OD2"));
        QCOMPARE(walk(lines, QStringLiteral("QuoteID")), QStringList{"OD2"});
        header.Cancel();
        header.Close();
        QVERIFY(lines.Bof() && lines.Eof());
    }

    void lastOnHundredThousandRows()
    {
        // Inserted out of key order so that row order and key order differ.
        m_db->exec(QStringLiteral(
            "INSERT INTO Product (ProductID, ProductName) "
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999), "
            "k(key) AS (SELECT (i * 7919) % 100000 + 1 FROM n) "
            "SELECT 'PR' || substr('000000' || key, length('000000' || key) - 5), 'p' || key "
            "FROM k"));
        TableCursor products;
        products.setTableName(QStringLiteral("Product"));
        products.Open();
        QCOMPARE(products.FieldByName(QStringLiteral("ProductID"))->AsString(),
                 QString("PR000001"));
        products.Last();
        QCOMPARE(products.FieldByName(QStringLiteral("ProductID"))->AsString(),
                 QString("PR100000"));
        products.Prior();
        QCOMPARE(products.FieldByName(QStringLiteral("ProductID"))->AsString(),
                 QString("PR099999"));
        QVERIFY(products.Locate(QStringLiteral("ProductID"), QStringLiteral("PR050000")));
        products.Next();
        QCOMPARE(products.FieldByName(QStringLiteral("ProductName"))->AsString(),
                 QString("p50001"));
        // A new identifier after the last one is posted and read back in place.
        products.Insert();
        products.FieldByName(QStringLiteral("ProductID"))->setAsString(QStringLiteral("PR100001"));
        products.Post();
        products.Next();
        QVERIFY(products.Eof());
        QCOMPARE(products.FieldByName(QStringLiteral("ProductID"))->AsString(),
                 QString("PR100001"));
    }
};

QTEST_GUILESS_MAIN(TestTableCursor)
#include "tst_tablecursor.moc"
