// Transactions: savepoints, and record sets that stand where they stood when a save that
// wrote through them rolls back (a header with its cached lines above all).

#include "data/book/database.h"
#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/records/tablecursor.h"
#include "data/book/transaction.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/headerwithlines.h"
#include "testsupport/testdatabase.h"

#include <QtTest>

#include <type_traits>

using namespace tb;
using tb::test::errorOf;
using tb::test::walk;

static_assert(std::is_nothrow_destructible_v<Transaction>,
              "a transaction rolls back in its destructor and never throws");

class TestTransactions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::HeaderWithLines> m_book;
    test::TestDatabase *m_db = nullptr;
    TableCursor *m_header = nullptr;
    TableCursor *m_lines = nullptr;

    void addLine(const QString &seq, int quantity)
    {
        m_lines->Append();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(seq);
        m_lines->FieldByName(QStringLiteral("Quantity"))->setAsInteger(quantity);
        m_lines->Post();
    }

    QString field(DataSet &set, const char *name)
    {
        return set.FieldByName(QLatin1String(name))->AsString();
    }

    QString storedLines(const QString &quote)
    {
        return m_db->scalar(QStringLiteral("SELECT group_concat(SEQ || ':' || Quantity) FROM "
                                           "(SELECT * FROM QuoteDetail WHERE QuoteID = ? "
                                           "ORDER BY SEQ) t"),
                            {quote}).toString();
    }

    // A new header OD3 with two lines, the second of which the file refuses (same SEQ).
    void newHeaderWithRefusedLine()
    {
        m_header->Insert();
        m_header->FieldByName(QStringLiteral("QuoteID"))->setAsString(QStringLiteral("OD3"));
        m_header->FieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("備註"));
        addLine(QStringLiteral("001"), 5);
        addLine(QStringLiteral("001"), 6);
    }

    // The save as a screen makes it: header and lines in one transaction.
    QString save()
    {
        return errorOf([&] {
            Transaction transaction(Database::connection());
            if (m_header->Editing())
                m_header->Post();
            m_lines->ApplyUpdates();
            transaction.commit();
        });
    }

private slots:
    void init()
    {
        m_book = std::make_unique<test::HeaderWithLines>();
        m_db = &m_book->db;
        m_header = &m_book->header;
        m_lines = &m_book->lines;
        m_db->exec(QStringLiteral("CREATE UNIQUE INDEX TestSeq ON QuoteDetail (QuoteID, SEQ)"));
    }

    void cleanup()
    {
        m_book.reset();
    }

    void savepointUndoesOnlyItsOwnPart()
    {
        const QSqlDatabase db = Database::connection();
        Transaction outer(db);
        Database::exec(db, QStringLiteral("INSERT INTO Unit (UnitID) VALUES ('UN0001')"));
        {
            Transaction inner(db);
            Database::exec(db, QStringLiteral("INSERT INTO Unit (UnitID) VALUES ('UN0002')"));
        } // not committed: only UN0002 goes
        {
            Transaction inner(db);
            Database::exec(db, QStringLiteral("INSERT INTO Unit (UnitID) VALUES ('UN0003')"));
            inner.commit();
        }
        outer.commit();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(UnitID) FROM "
                                             "(SELECT UnitID FROM Unit ORDER BY UnitID) t"))
                     .toString(),
                 QString("UN0001,UN0003"));
        QVERIFY(!Transaction::isOpen(db));
    }

    void guardOnAClosedConnectionEndsQuietly()
    {
        QCOMPARE(errorOf([&] {
                     Transaction transaction(Database::connection());
                     Database::closeAll();
                 }),
                 QString());
    }

    void guardOutlivingItsBookIsNotOpenOnTheNextOne()
    {
        Transaction transaction(Database::connection());
        Database::setPath(QLatin1String(Database::DefaultAlias), m_db->path());
        QVERIFY(!Transaction::isOpen(Database::connection()));
    }

    void refusedLineLeavesHeaderAndLinesAsBefore()
    {
        newHeaderWithRefusedLine();
        QCOMPARE(save(), QString("Key violation."));

        // Nothing of the save is in the file...
        QCOMPARE(m_db->count(QStringLiteral("QuoteMaster")), 2);
        QCOMPARE(storedLines(QStringLiteral("OD3")), QString());
        // ...and the screen's sets are where the user left them.
        QCOMPARE(m_header->State(), DataSetState::Insert);
        QCOMPARE(field(*m_header, "QuoteID"), QString("OD3"));
        QCOMPARE(field(*m_header, "Memo"), QString("備註"));
        QCOMPARE(m_lines->State(), DataSetState::Browse);
        QVERIFY(m_lines->UpdatesPending());
        QCOMPARE(walk(*m_lines, QStringLiteral("Quantity")), (QStringList{"5", "6"}));

        // Corrected, the same save goes through whole.
        m_lines->Last();
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("002"));
        m_lines->Post();
        QCOMPARE(save(), QString());
        QCOMPARE(m_header->State(), DataSetState::Browse);
        QVERIFY(!m_lines->UpdatesPending());
        QCOMPARE(storedLines(QStringLiteral("OD3")), QString("001:5,002:6"));
    }

    void failedApplyWritesNoLineEvenWhenTheCallerCommits()
    {
        // Edits, a deletion and a refused insertion under a stored header.
        m_lines->First();
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("Quantity"))->setAsInteger(10);
        m_lines->Post();
        m_lines->Last();
        m_lines->Delete();
        addLine(QStringLiteral("001"), 7);
        m_header->Edit();
        m_header->FieldByName(QStringLiteral("SubTotal"))->setAsInteger(99);

        QString message;
        {
            Transaction transaction(Database::connection());
            m_header->Post();
            message = errorOf([&] { m_lines->ApplyUpdates(); });
            transaction.commit(); // the caller goes on with what did go through
        }
        QCOMPARE(message, QString("Key violation."));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SubTotal FROM QuoteMaster WHERE "
                                             "QuoteID = 'OD1'")).toInt(), 99);
        QCOMPARE(storedLines(QStringLiteral("OD1")), QString("001:1,002:2"));
        QVERIFY(m_lines->UpdatesPending());

        // The lines are still all pending, so a corrected retry writes them once.
        QVERIFY(m_lines->Locate(QStringLiteral("Quantity"), 7));
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("003"));
        m_lines->Post();
        QCOMPARE(errorOf([&] { m_lines->ApplyUpdates(); }), QString());
        QCOMPARE(storedLines(QStringLiteral("OD1")), QString("001:10,003:7"));
    }

    void laterFailureBringsAppliedLinesBack()
    {
        // The lines go through, then the header is refused (its number is taken).
        newHeaderWithRefusedLine();
        m_lines->Last();
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("002"));
        m_lines->Post();
        m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID) VALUES ('OD3')"));
        const QString message = errorOf([&] {
            Transaction transaction(Database::connection());
            m_lines->ApplyUpdates();
            m_header->Post();
            transaction.commit();
        });
        QCOMPARE(message, QString("Key violation."));
        QCOMPARE(storedLines(QStringLiteral("OD3")), QString());
        QVERIFY(m_lines->UpdatesPending());
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "002"}));
        QCOMPARE(m_header->State(), DataSetState::Insert);
    }

    void rolledBackDeletionShowsTheRowAgain()
    {
        TableCursor units;
        units.setTableName(QStringLiteral("Unit"));
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES "
                                  "('UN0001', '箱'), ('UN0002', '支')"));
        units.Open();
        {
            Transaction transaction(Database::connection());
            units.Delete();
            QCOMPARE(field(units, "UnitID"), QString("UN0002"));
        }
        QCOMPARE(m_db->count(QStringLiteral("Unit")), 2);
        QCOMPARE(field(units, "UnitID"), QString("UN0001"));
        QCOMPARE(field(units, "UnitName"), QString("箱"));
        units.Next();
        QCOMPARE(field(units, "UnitID"), QString("UN0002"));
    }
};

QTEST_GUILESS_MAIN(TestTransactions)
#include "tst_data_transactions.moc"
