// Cached updates: quotation lines held in memory under their header until applied.

#include "data/book/database.h"
#include "data/book/transaction.h"
#include "data/records/datasource.h"
#include "data/records/disabledcontrols.h"
#include "data/book/errors.h"
#include "data/records/tablecursor.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/headerwithlines.h"
#include "testsupport/testdatabase.h"

#include <QtTest>

using namespace tb;
using tb::test::errorOf;
using tb::test::walk;

class TestCachedUpdates : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::HeaderWithLines> m_book;
    test::TestDatabase *m_db = nullptr;
    TableCursor *m_header = nullptr;
    TableCursor *m_lines = nullptr;

    void addLine(DataSet &lines, const QString &seq, int quantity)
    {
        lines.Append();
        lines.FieldByName(QStringLiteral("SEQ"))->setAsString(seq);
        lines.FieldByName(QStringLiteral("Quantity"))->setAsInteger(quantity);
        lines.Post();
    }

    int stored(const QString &where = QStringLiteral("1 = 1"))
    {
        return m_db->scalar(QStringLiteral("SELECT count(*) FROM QuoteDetail WHERE ") + where)
            .toInt();
    }

private slots:
    void init()
    {
        m_book = std::make_unique<test::HeaderWithLines>();
        m_db = &m_book->db;
        m_header = &m_book->header;
        m_lines = &m_book->lines;
    }

    void cleanup()
    {
        m_book.reset();
    }

    void changesStayPendingUntilApplied()
    {
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "002"}));
        addLine(*m_lines, QStringLiteral("003"), 3);
        QCOMPARE(m_lines->FieldByName(QStringLiteral("QuoteID"))->AsString(), QString("OD1"));
        m_lines->First();
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("Quantity"))->setAsInteger(10);
        m_lines->Post();
        m_lines->Next();
        m_lines->Delete(); // 002: the cursor moves on to 003
        QCOMPARE(m_lines->FieldByName(QStringLiteral("SEQ"))->AsString(), QString("003"));
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "003"}));
        QVERIFY(m_lines->UpdatesPending());

        // The file and a second, plain cursor see only what is stored.
        QCOMPARE(stored(QStringLiteral("QuoteID = 'OD1'")), 2);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Quantity FROM QuoteDetail WHERE "
                                             "QuoteID = 'OD1' AND SEQ = '001'")).toInt(), 1);
        TableCursor plain;
        plain.setTableName(QStringLiteral("QuoteDetail"));
        plain.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        plain.SetRange({QStringLiteral("OD1")}, {QStringLiteral("OD1")});
        plain.Open();
        QCOMPARE(walk(plain, QStringLiteral("SEQ")), (QStringList{"001", "002"}));

        m_lines->ApplyUpdates();
        QVERIFY(!m_lines->UpdatesPending());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(SEQ || ':' || Quantity) FROM "
                                             "(SELECT * FROM QuoteDetail WHERE QuoteID = 'OD1' "
                                             "ORDER BY SEQ) t")).toString(),
                 QString("001:10,003:3"));
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "003"}));
    }

    void cancelDiscards()
    {
        addLine(*m_lines, QStringLiteral("009"), 9);
        m_lines->First();
        m_lines->Delete();
        m_lines->Insert();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("010"));
        m_lines->CancelUpdates(); // the line being typed goes too
        QCOMPARE(m_lines->State(), DataSetState::Browse);
        QVERIFY(!m_lines->UpdatesPending());
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "002"}));
        QCOMPARE(stored(), 3);
    }

    void pendingChangesFollowTheirHeader()
    {
        addLine(*m_lines, QStringLiteral("003"), 3);
        m_header->Next(); // OD2
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), QStringList{"001"});
        addLine(*m_lines, QStringLiteral("002"), 7);
        m_header->First(); // back to OD1: its pending line is still there
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "002", "003"}));
        QVERIFY(m_lines->UpdatesPending());
        m_lines->ApplyUpdates();
        QCOMPARE(stored(QStringLiteral("QuoteID = 'OD1'")), 3);
        QCOMPARE(stored(QStringLiteral("QuoteID = 'OD2'")), 2);
    }

    void failedApplyLeavesFileUnchanged()
    {
        // Header and lines in one transaction: a line that cannot be written undoes the
        // header as well, and the lines stay pending for another try.
        m_db->exec(QStringLiteral("CREATE UNIQUE INDEX TestSeq ON QuoteDetail (QuoteID, SEQ)"));
        m_lines->First();
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("Quantity"))->setAsInteger(99);
        m_lines->Post();
        addLine(*m_lines, QStringLiteral("002"), 4); // duplicates a stored line
        m_header->Edit();
        m_header->FieldByName(QStringLiteral("SubTotal"))->setAsInteger(123);
        QString message;
        try {
            Transaction transaction(Database::connection());
            m_header->Post();
            m_lines->ApplyUpdates();
            transaction.commit();
        } catch (const DatabaseError &e) {
            message = e.message();
        }
        QCOMPARE(message, QString("Key violation."));
        QVERIFY(m_db->scalar(QStringLiteral("SELECT SubTotal FROM QuoteMaster WHERE "
                                            "QuoteID = 'OD1'")).isNull());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Quantity FROM QuoteDetail WHERE "
                                             "QuoteID = 'OD1' AND SEQ = '001'")).toInt(), 1);
        QCOMPARE(stored(), 3);
        QVERIFY(m_lines->UpdatesPending());

        // Alone (its own transaction) it fails the same way; corrected, it goes through.
        QCOMPARE(errorOf([&] { m_lines->ApplyUpdates(); }), QString("Key violation."));
        QCOMPARE(stored(), 3);
        QVERIFY(m_lines->Locate(QStringLiteral("Quantity"), 4));
        m_lines->Edit();
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("003"));
        m_lines->Post();
        m_lines->ApplyUpdates();
        QCOMPARE(stored(), 4);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Quantity FROM QuoteDetail WHERE "
                                             "QuoteID = 'OD1' AND SEQ = '001'")).toInt(), 99);
    }

    void totalsWalkAndRenumber()
    {
        // What the quotation screen does after a line deletion: walk all lines with the
        // controls disabled, renumber them, and come back to the remembered line.
        addLine(*m_lines, QStringLiteral("003"), 3);
        m_lines->First();
        m_lines->Next();
        m_lines->Delete();
        m_lines->First();
        const Bookmark mark = m_lines->GetBookmark();
        int n = 0;
        int total = 0;
        {
            DisabledControls quiet(m_lines);
            m_lines->First();
            while (!m_lines->Eof()) {
                m_lines->Edit();
                m_lines->FieldByName(QStringLiteral("QdetailID"))
                    ->setAsString(QStringLiteral("%1").arg(++n, 3, 10, QLatin1Char('0')));
                m_lines->Post();
                total += m_lines->FieldByName(QStringLiteral("Quantity"))->AsInteger();
                m_lines->Next();
            }
            m_lines->GotoBookmark(mark);
        }
        QCOMPARE(n, 2);
        QCOMPARE(total, 4);
        QCOMPARE(m_lines->FieldByName(QStringLiteral("SEQ"))->AsString(), QString("001"));
        QCOMPARE(walk(*m_lines, QStringLiteral("QdetailID")), (QStringList{"001", "002"}));
        QCOMPARE(walk(*m_lines, QStringLiteral("SEQ")), (QStringList{"001", "003"}));
        const QVector<RowSnapshot> rows = m_lines->ReadRows({}, 10, true);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(m_lines->ReadRows(rows[0].bookmark, 10, true).size(), 1);
        QCOMPARE(m_lines->ReadRows({}, 1, false).first().bookmark, rows[1].bookmark);
    }

    void newHeaderLinesAndCancel()
    {
        m_header->Insert();
        m_header->FieldByName(QStringLiteral("QuoteID"))->setAsString(QStringLiteral("OD3"));
        QVERIFY(m_lines->Bof() && m_lines->Eof());
        m_lines->Edit(); // no line yet: inserts
        QCOMPARE(m_lines->State(), DataSetState::Insert);
        QCOMPARE(m_lines->FieldByName(QStringLiteral("QuoteID"))->AsString(), QString("OD3"));
        m_lines->FieldByName(QStringLiteral("SEQ"))->setAsString(QStringLiteral("001"));
        m_lines->Post();
        m_header->Cancel();
        m_lines->CancelUpdates();
        QCOMPARE(stored(QStringLiteral("QuoteID = 'OD3'")), 0);
        QCOMPARE(m_db->count(QStringLiteral("QuoteMaster")), 2);
    }
};

QTEST_GUILESS_MAIN(TestCachedUpdates)
#include "tst_cachedupdates.moc"
