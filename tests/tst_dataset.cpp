// The record-set state machine: states, event order, errors, notifications, fields.

#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/book/shortdate.h"
#include "data/records/disabledcontrols.h"
#include "data/records/sourcebinding.h"
#include "data/records/tablecursor.h"
#include "testsupport/datasetprobe.h"
#include "testsupport/rulesprobe.h"
#include "testsupport/testdatabase.h"

#include <QtTest>

using namespace tb;
using tb::test::errorOf;
using tb::test::walk;

namespace {

// Records what a bound control hears, and writes its text when asked to.
class RecordingControl : public EditHolder
{
public:
    QObject context;
    QStringList events;
    std::function<void()> onWritePending;
    SourceBinding binding{&context, reactions(), this};

    void writePendingEdit() override
    {
        events << QStringLiteral("update");
        if (onWritePending)
            onWritePending();
    }

private:
    SourceBinding::Reactions reactions()
    {
        SourceBinding::Reactions r;
        r.activeChanged = [this] { events << QStringLiteral("active"); };
        r.dataSetChanged = [this] { events << QStringLiteral("dataset"); };
        r.recordChanged = [this](Field *f) {
            events << QStringLiteral("record:") + (f ? f->FieldName() : QStringLiteral("*"));
        };
        r.editingChanged = [this] { events << QStringLiteral("editing"); };
        return r;
    }
};

} // namespace

class TestDataSet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<TableCursor> m_unit;
    test::RulesProbe m_rules;
    QStringList &m_log = m_rules.log;

    void seedUnits(int n)
    {
        for (int i = 1; i <= n; ++i)
            m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName) VALUES (?, ?)"),
                       {QStringLiteral("UN%1").arg(i, 4, 10, QLatin1Char('0')),
                        QStringLiteral("u%1").arg(i)});
    }

    // The rules log their events; what happened is logged from the signals.
    void hookAll(DataSet &ds)
    {
        ds.setRules(&m_rules);
        const QList<std::pair<void (DataSet::*)(), const char *>> told{
            {&DataSet::recordInserted, "recordInserted"}, {&DataSet::editStarted, "editStarted"},
            {&DataSet::posted, "posted"},                 {&DataSet::cancelled, "cancelled"},
            {&DataSet::recordDeleted, "recordDeleted"}};
        for (const auto &[signal, name] : told)
            connect(&ds, signal, this, [this, n = name] { m_log << QString::fromLatin1(n); });
    }

private slots:
    void init()
    {
        m_db = std::make_unique<test::TestDatabase>();
        m_unit = std::make_unique<TableCursor>();
        m_unit->setObjectName(QStringLiteral("Table1"));
        m_unit->setTableName(QStringLiteral("Unit"));
        m_log.clear();
    }

    void cleanup()
    {
        m_unit.reset();
        m_db.reset();
        m_rules = test::RulesProbe();
    }

    void eventOrder_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("expected");
        const QStringList newRow{"newRecord", "recordInserted"};
        QTest::newRow("insert") << 2 << "insert" << newRow;
        QTest::newRow("insert over modified edit posts first")
            << 2 << "edit-modify-insert"
            << (QStringList{"editStarted", "beforePost", "posted"} + newRow);
        QTest::newRow("insert over unmodified edit cancels first")
            << 2 << "edit-insert" << (QStringList{"editStarted", "cancelled"} + newRow);
        QTest::newRow("post")
            << 2 << "insert-post" << (newRow + QStringList{"beforePost", "posted"});
        QTest::newRow("delete") << 2 << "delete" << QStringList{"beforeDelete", "recordDeleted"};
        QTest::newRow("edit on empty set inserts") << 0 << "edit" << newRow;
        QTest::newRow("move posts a modified record")
            << 2 << "edit-modify-next" << QStringList{"editStarted", "beforePost", "posted"};
        QTest::newRow("move cancels an unmodified insert")
            << 2 << "insert-first" << (newRow + QStringList{"cancelled"});
    }

    void eventOrder()
    {
        QFETCH(int, rows);
        QFETCH(QString, action);
        QFETCH(QStringList, expected);
        seedUnits(rows);
        m_unit->Open();
        hookAll(*m_unit);
        m_rules.onNewRecord = [](DataSet &ds) {
            ds.FieldByName(QStringLiteral("UnitID"))->setAsString(QStringLiteral("UN9999"));
        };
        for (const QString &step : action.split(QLatin1Char('-'))) {
            if (step == QLatin1String("insert"))
                m_unit->Insert();
            else if (step == QLatin1String("edit"))
                m_unit->Edit();
            else if (step == QLatin1String("modify"))
                m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("x"));
            else if (step == QLatin1String("post"))
                m_unit->Post();
            else if (step == QLatin1String("delete"))
                m_unit->Delete();
            else if (step == QLatin1String("next"))
                m_unit->Next();
            else if (step == QLatin1String("first"))
                m_unit->First();
        }
        QCOMPARE(m_log, expected);
    }

    void onNewRecordDefaultsDoNotMarkModified()
    {
        m_unit->Open();
        m_unit->setRules(&m_rules);
        m_rules.onNewRecord = [](DataSet &ds) {
            ds.FieldByName(QStringLiteral("UnitID"))->setAsString(QStringLiteral("UN0001"));
        };
        m_unit->Insert();
        QVERIFY(!m_unit->Modified());
        m_unit->First(); // cancels: nothing typed by the user
        QCOMPARE(m_db->count(QStringLiteral("Unit")), 0);
        QVERIFY(m_unit->Bof() && m_unit->Eof());
    }

    void bofEof()
    {
        m_unit->Open();
        QVERIFY(m_unit->Bof() && m_unit->Eof());
        QVERIFY(!m_unit->HasCurrentRecord());
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitName"))->AsString(), QString());
        m_unit->Close();
        seedUnits(3);
        m_unit->Open();
        QVERIFY(m_unit->Bof() && !m_unit->Eof());
        m_unit->Next();
        m_unit->Next();
        QVERIFY(!m_unit->Bof() && !m_unit->Eof());
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0003"));
        m_unit->Next(); // past the last row: Eof, stays
        QVERIFY(m_unit->Eof());
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0003"));
        m_unit->First();
        m_unit->Prior();
        QVERIFY(m_unit->Bof());
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0001"));
        m_unit->Last();
        QVERIFY(m_unit->Eof() && !m_unit->Bof());
        QVERIFY(m_unit->HasCurrentRecord());
    }

    void errors()
    {
        seedUnits(1);
        Field *name = nullptr;
        QCOMPARE(errorOf([&] { m_unit->First(); }),
                 QString("Cannot perform this operation on a closed dataset"));
        QCOMPARE(errorOf([&] { m_unit->Refresh(); }),
                 QString("Cannot perform this operation on a closed dataset"));
        QCOMPARE(errorOf([&] { m_unit->Edit(); }),
                 QString("Cannot perform this operation on a closed dataset"));
        m_unit->Open();
        m_unit->Open(); // opening an open set does nothing
        name = m_unit->FieldByName(QStringLiteral("UnitName"));
        QCOMPARE(errorOf([&] { name->setAsString(QStringLiteral("x")); }),
                 QString("Dataset not in edit or insert mode"));
        QCOMPARE(errorOf([&] { m_unit->Post(); }), QString("Dataset not in edit or insert mode"));
        QCOMPARE(errorOf([&] { m_unit->FieldByName(QStringLiteral("Nope")); }),
                 QString("Field 'Nope' not found"));
        QCOMPARE(m_unit->State(), DataSetState::Browse);
        m_unit->Cancel(); // in browse: nothing
        QCOMPARE(m_unit->State(), DataSetState::Browse);
    }

    void postFailureKeepsInsert()
    {
        seedUnits(1);
        m_unit->Open();
        hookAll(*m_unit);
        m_unit->Insert();
        m_unit->FieldByName(QStringLiteral("UnitID"))->setAsString(QStringLiteral("UN0001"));
        m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("dup"));
        QCOMPARE(errorOf([&] { m_unit->Post(); }), QString("Key violation."));
        QCOMPARE(m_unit->State(), DataSetState::Insert);
        QVERIFY(!m_log.contains(QStringLiteral("posted")));
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitName"))->AsString(), QString("dup"));
        // Corrected, the same record posts.
        m_unit->FieldByName(QStringLiteral("UnitID"))->setAsString(QStringLiteral("UN0002"));
        m_unit->Post();
        QCOMPARE(m_unit->State(), DataSetState::Browse);
        QCOMPARE(m_db->count(QStringLiteral("Unit")), 2);
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0002"));
    }

    void silentAbortInRules()
    {
        seedUnits(2);
        m_unit->Open();
        hookAll(*m_unit);
        QSignalSpy scrolled(m_unit.get(), &DataSet::scrolled);
        m_rules.onBeforePost = [](DataSet &) { Abort(); };
        m_unit->Edit();
        m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("changed"));
        QVERIFY_THROWS_EXCEPTION(SilentAbort, m_unit->Post());
        QCOMPARE(m_unit->State(), DataSetState::Edit);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT UnitName FROM Unit WHERE UnitID = 'UN0001'"))
                     .toString(), QString("u1"));
        // A move that must post first stays where it was.
        QVERIFY_THROWS_EXCEPTION(SilentAbort, m_unit->Next());
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0001"));
        QCOMPARE(scrolled.count(), 0);
        // An abort in beforeDelete keeps the row.
        m_rules.onBeforePost = nullptr;
        m_unit->Post();
        m_rules.onBeforeDelete = [](DataSet &) { Abort(); };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, m_unit->Delete());
        QCOMPARE(m_db->count(QStringLiteral("Unit")), 2);
        QVERIFY(m_unit->HasCurrentRecord());
        // An abort in newRecord: the new record never existed, the set is back on its row.
        m_rules.onNewRecord = [](DataSet &) { Abort(); };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, m_unit->Insert());
        QCOMPARE(m_unit->State(), DataSetState::Browse);
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0001"));
        QCOMPARE(m_log, (QStringList{"editStarted", "beforePost", "beforePost", "beforePost",
                                     "posted", "beforeDelete", "newRecord"}));
        QCOMPARE(scrolled.count(), 0);
    }

    void cancelRestores()
    {
        seedUnits(2);
        m_unit->Open();
        m_unit->Next();
        m_unit->Edit();
        m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("zz"));
        m_unit->Cancel();
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitName"))->AsString(), QString("u2"));
        m_unit->Insert();
        m_unit->Cancel(); // back on the row the insert started from
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0002"));
    }

    void deleteMovesToNextOrPrevious()
    {
        seedUnits(3);
        m_unit->Open();
        m_unit->Next();
        m_unit->Delete();
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0003"));
        m_unit->Delete(); // the last row: the previous one becomes current
        QCOMPARE(m_unit->FieldByName(QStringLiteral("UnitID"))->AsString(), QString("UN0001"));
        m_unit->Delete();
        QVERIFY(m_unit->Bof() && m_unit->Eof());
        QCOMPARE(errorOf([&] { m_unit->Delete(); }),
                 QString("Cannot perform this operation on an empty dataset"));
    }

    void notificationsAndDisableControls()
    {
        seedUnits(3);
        DataSource source;
        source.setDataSet(m_unit.get());
        RecordingControl link;
        link.binding.setDataSource(&source);
        link.events.clear();
        m_unit->Open();
        QCOMPARE(link.events, (QStringList{"active", "dataset"}));
        link.events.clear();
        m_unit->Next();
        QCOMPARE(link.events, QStringList{"dataset"});
        link.events.clear();
        m_unit->Edit();
        m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("n"));
        QCOMPARE(link.events, (QStringList{"editing", "record:UnitName"}));
        link.events.clear();
        // Post first lets the bound controls write their text.
        link.onWritePending = [&] {
            m_unit->FieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("typed"));
        };
        m_unit->Post();
        link.onWritePending = nullptr;
        QCOMPARE(link.events.first(), QString("update"));
        QVERIFY(link.events.contains(QStringLiteral("editing")));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Memo FROM Unit WHERE UnitID='UN0002'"))
                     .toString(), QString("typed"));

        link.events.clear();
        {
            DisabledControls outer(m_unit.get());
            {
                DisabledControls inner(m_unit.get());
                m_unit->First();
                m_unit->Next();
            }
            QVERIFY(m_unit->ControlsDisabled());
            m_unit->Last();
            QVERIFY(link.events.isEmpty());
        }
        QVERIFY(!m_unit->ControlsDisabled());
        QCOMPARE(link.events, QStringList{"dataset"});
        // Closed and opened again while silent: told both, once, when the guard goes.
        link.events.clear();
        {
            DisabledControls quiet(m_unit.get());
            m_unit->Close();
            m_unit->Open();
            QVERIFY(link.events.isEmpty());
        }
        QCOMPARE(link.events, (QStringList{"active", "dataset"}));
        // A guard that outlives its set lets go quietly.
        auto gone = std::make_unique<TableCursor>();
        DisabledControls late(gone.get());
        gone.reset();
    }

    // A control hears only its current source, and nothing once either goes away; a control
    // that went away is not asked for its text when the set posts.
    void controlsLetGoOfTheirSource()
    {
        seedUnits(2);
        m_unit->Open();
        auto source = std::make_unique<DataSource>();
        source->setDataSet(m_unit.get());
        DataSource other;
        auto control = std::make_unique<RecordingControl>();
        control->binding.setDataSource(source.get());
        QCOMPARE(control->events, (QStringList{"active", "dataset"}));

        control->binding.setDataSource(&other);
        control->events.clear();
        m_unit->Next();
        m_unit->Edit();
        m_unit->Post();
        QVERIFY(control->events.isEmpty());

        control->binding.setDataSource(source.get());
        control->events.clear();
        source.reset();
        QVERIFY(!control->binding.dataSource());
        m_unit->First();
        QVERIFY(control->events.isEmpty());

        DataSource joined;
        joined.setDataSet(m_unit.get());
        control->binding.setDataSource(&joined);
        control.reset();
        m_unit->Edit();
        m_unit->FieldByName(QStringLiteral("UnitName"))->setAsString(QStringLiteral("kept"));
        m_unit->Post(); // would reach the control that went away
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT UnitName FROM Unit WHERE UnitID = 'UN0001'"))
                     .toString(), QString("kept"));
    }

    void fieldConversions()
    {
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, Stock, LastPurchaseDate) "
                                  "VALUES ('PR000001', 5, '2024-05-17')"));
        ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
        TableCursor product;
        product.setTableName(QStringLiteral("Product"));
        Field *stock = product.AddField(QStringLiteral("Stock"), FieldType::Integer);
        Field *date = product.AddField(QStringLiteral("LastPurchaseDate"), FieldType::DateTime);
        Field *id = product.AddField(QStringLiteral("ProductID"), FieldType::String, 8);
        product.Open();
        QCOMPARE(stock->AsInteger(), 5);
        QCOMPARE(date->AsString(), QString("2024/05/17"));
        QCOMPARE(date->AsDateTime(), QDateTime(QDate(2024, 5, 17), QTime(0, 0)));
        product.Edit();
        QCOMPARE(errorOf([&] { stock->setAsString(QStringLiteral("12a")); }),
                 QString("'12a' is not a valid integer value for field 'Stock'"));
        QCOMPARE(stock->AsInteger(), 5);
        QCOMPARE(errorOf([&] { date->setAsString(QStringLiteral("2024/13/40")); }),
                 QString("'2024/13/40' is not a valid date"));
        stock->setAsFloat(2.5);
        QCOMPARE(stock->AsInteger(), 2);
        stock->setAsFloat(3.5);
        QCOMPARE(stock->AsInteger(), 4);
        stock->setAsFloat(174.95);
        QCOMPARE(stock->AsInteger(), 175);
        stock->setAsString(QStringLiteral("-7"));
        date->setAsString(QStringLiteral("2024/06/01"));
        product.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT LastPurchaseDate FROM Product")).toString(),
                 QString("2024-06-01"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Stock FROM Product")).toInt(), -7);
        product.Edit();
        stock->setAsString(QString()); // empty text makes the field null
        QVERIFY(stock->IsNull());
        QCOMPARE(stock->AsString(), QString());
        QCOMPARE(stock->AsFloat(), 0.0);
        product.Post();
        QVERIFY(m_db->scalar(QStringLiteral("SELECT Stock FROM Product")).isNull());
        QCOMPARE(id->AsString(), QString("PR000001"));
        ShortDate::resetToSystem();
    }

    void validateSeesNewValueAndMayRefuse()
    {
        seedUnits(1);
        m_unit->Open();
        Field *name = m_unit->FieldByName(QStringLiteral("UnitName"));
        QString seen;
        m_unit->setRules(&m_rules);
        m_rules.onValidate = [&](Field &f) {
            seen = f.AsString();
            if (seen == QLatin1String("bad"))
                throw DatabaseError(QStringLiteral("refused"));
        };
        m_unit->Edit();
        name->setAsString(QStringLiteral("good"));
        QCOMPARE(seen, QString("good"));
        QCOMPARE(errorOf([&] { name->setAsString(QStringLiteral("bad")); }), QString("refused"));
        QCOMPARE(name->AsString(), QString("good"));
    }

    void calculatedAndLookupFields()
    {
        m_db->exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerAttribName) "
                                  "VALUES ('CU000001', 'Acme'), ('CU000002', 'Beta')"));
        m_db->exec(QStringLiteral("INSERT INTO QuoteMaster (QuoteID, CustomerID, SubTotal) "
                                  "VALUES ('OD24050001', 'CU000001', 10)"));
        TableCursor customer;
        customer.setTableName(QStringLiteral("Customer"));
        customer.Open();
        customer.Last();
        TableCursor quote;
        quote.setTableName(QStringLiteral("QuoteMaster"));
        quote.AddField(QStringLiteral("QuoteID"), FieldType::String, 10);
        quote.AddField(QStringLiteral("CustomerID"), FieldType::String, 8);
        Field *sub = quote.AddField(QStringLiteral("SubTotal"), FieldType::Integer);
        Field *sna = quote.AddLookupField(QStringLiteral("CUST_SNA"), FieldType::String, 10,
                                          QStringLiteral("CustomerID"), &customer,
                                          QStringLiteral("CustomerID"),
                                          QStringLiteral("CustomerAttribName"));
        Field *id2 = quote.AddLookupField(QStringLiteral("CUST_ID2"), FieldType::String, 8,
                                          QStringLiteral("CustomerID"), &customer,
                                          QStringLiteral("CustomerID"),
                                          QStringLiteral("CustomerID"));
        Field *twice = quote.AddCalculatedField(QStringLiteral("Twice"), FieldType::Integer);
        int calcs = 0;
        test::RulesProbe rules;
        quote.setRules(&rules);
        rules.onCalculate = [&](DataSet &ds) {
            ++calcs;
            ds.FieldByName(QStringLiteral("Twice"))->setAsFloat(sub->AsFloat() * 2);
        };
        quote.Open();
        QCOMPARE(sna->AsString(), QString("Acme"));
        QCOMPARE(twice->AsInteger(), 20);
        QVERIFY(calcs >= 1);
        // The lookup set's cursor does not move.
        QCOMPARE(customer.FieldByName(QStringLiteral("CustomerID"))->AsString(),
                 QString("CU000002"));
        quote.Edit();
        sub->setAsInteger(21);
        QCOMPARE(twice->AsInteger(), 42);
        id2->setAsString(QStringLiteral("CU000002")); // choosing in a look-up box
        QCOMPARE(quote.FieldByName(QStringLiteral("CustomerID"))->AsString(), QString("CU000002"));
        QCOMPARE(sna->AsString(), QString("Beta"));
        id2->setAsString(QStringLiteral("CU999999"));
        QVERIFY(quote.FieldByName(QStringLiteral("CustomerID"))->IsNull());
        QCOMPARE(sna->AsString(), QString());
        QCOMPARE(errorOf([&] { quote.Post(); }), QString());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SubTotal FROM QuoteMaster")).toInt(), 21);
        // Grids read rows with their derived values.
        const QVector<RowSnapshot> rows = quote.ReadRows({}, 10, true);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].values[twice->Index()].toInt(), 42);
    }

    void storedIntegersThatDoNotFitAreReportedNotWrapped()
    {
        if (test::TestDatabase::onServer())
            QSKIP("A server refuses to store what an integer column cannot hold");
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, Stock) VALUES "
                                  "('PR000001', 2.5), ('PR000002', 3.5), ('PR000003', -7)"));
        TableCursor product;
        product.setTableName(QStringLiteral("Product"));
        product.Open();
        // A fraction is rounded as the application rounds: half to even.
        QCOMPARE(walk(product, QStringLiteral("Stock")), (QStringList{"2", "4", "-7"}));
        product.Close();

        const QList<std::pair<QVariant, QString>> refused{
            {QVariant(qint64(3000000000)), QStringLiteral("3000000000")},
            {QVariant(-1e270), QStringLiteral("-1e+270")},
            {QVariant(QStringLiteral("abc")), QStringLiteral("abc")}};
        for (const auto &[stored, shown] : refused) {
            m_db->exec(QStringLiteral("UPDATE Product SET Stock = ? WHERE ProductID = 'PR000001'"),
                       {stored});
            QCOMPARE(errorOf([&] { product.Open(); }),
                     QStringLiteral("'%1' is not a valid integer value for field 'Stock'")
                         .arg(shown));
            QVERIFY(!product.Active());
        }
    }

    void calculatedValueOutOfRangeIsRefusedWhereTyped()
    {
        m_db->exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, Quantity, Price) "
                                  "VALUES ('OD1', '001', 50000, 50000), ('OD1', '002', 3, 4)"));
        TableCursor lines;
        lines.setTableName(QStringLiteral("QuoteDetail"));
        lines.setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
        for (const char *name : {"QuoteID", "SEQ"})
            lines.AddField(QLatin1String(name), FieldType::String, 10);
        Field *quantity = lines.AddField(QStringLiteral("Quantity"), FieldType::Integer);
        Field *price = lines.AddField(QStringLiteral("Price"), FieldType::Integer);
        Field *amount = lines.AddCalculatedField(QStringLiteral("Amount"), FieldType::Integer);
        test::RulesProbe rules;
        lines.setRules(&rules);
        rules.onCalculate = [&](DataSet &) {
            amount->setAsFloat(quantity->AsFloat() * price->AsFloat());
        };
        // A stored line whose amount does not fit opens, moves and shows an empty amount.
        QCOMPARE(errorOf([&] { lines.Open(); }), QString());
        QVERIFY(amount->IsNull());
        QCOMPARE(walk(lines, QStringLiteral("Amount")), (QStringList{"", "12"}));

        // Typing a quantity that would overflow the amount is refused, naming both fields
        // and the limit; the line keeps its values.
        lines.Edit();
        QCOMPARE(errorOf([&] { quantity->setAsInteger(1000000000); }),
                 QString("Field 'Quantity': the calculated value 4000000000 of field 'Amount' "
                         "is out of range (-2147483648 to 2147483647)"));
        QCOMPARE(quantity->AsInteger(), 3);
        QCOMPARE(amount->AsInteger(), 12);
        price->setAsInteger(1000000);
        QCOMPARE(errorOf([&] { quantity->setAsInteger(5000); }),
                 QString("Field 'Quantity': the calculated value 5000000000 of field 'Amount' "
                         "is out of range (-2147483648 to 2147483647)"));
        QCOMPARE(quantity->AsInteger(), 3);
        QCOMPARE(price->AsInteger(), 1000000);
        QCOMPARE(amount->AsInteger(), 3000000);
        lines.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Price FROM QuoteDetail WHERE SEQ = '002'"))
                     .toInt(), 1000000);
    }

    void fieldsRefuseTextTheirColumnCannotHold()
    {
        TableCursor employee;
        employee.setTableName(QStringLiteral("Employee"));
        employee.Open();
        employee.Insert();
        Field *sex = employee.FieldByName(QStringLiteral("Sex"));
        Field *name = employee.FieldByName(QStringLiteral("EmployeeName"));
        Field *career = employee.FieldByName(QStringLiteral("Career"));
        QCOMPARE(errorOf([&] { sex->setAsString(QString(11, QChar(0x7537))); }),
                 QString("Text of 22 bytes is too long for field 'Sex', which holds 2"));
        QVERIFY(sex->IsNull());
        sex->setAsString(QStringLiteral("男"));
        // Name ideographs outside Big5 are stored, two bytes each.
        name->setAsString(QStringLiteral("陳喆堃犇峯"));
        QCOMPARE(errorOf([&] { name->setAsString(QStringLiteral("陳喆堃犇峯a")); }),
                 QString("Text of 11 bytes is too long for field 'EmployeeName', which holds 10"));
        QCOMPARE(errorOf([&] { name->setAsString(QStringLiteral("王😀")); }),
                 QString("Field 'EmployeeName' cannot store the character U+1F600"));
        QCOMPARE(errorOf([&] { name->setAsString(QStringLiteral("王\t")); }),
                 QString("Field 'EmployeeName' cannot store the character U+0009"));
        QCOMPARE(name->AsString(), QStringLiteral("陳喆堃犇峯"));
        // A memo has no width and takes line breaks, but not what cannot be stored.
        career->setAsString(QString(500, QChar(0x5DE5)) + QStringLiteral("\n第二行"));
        QCOMPARE(errorOf([&] { career->setAsString(QStringLiteral("😀")); }),
                 QString("Field 'Career' cannot store the character U+1F600"));
        employee.FieldByName(QStringLiteral("EmployeeID"))->setAsString(QStringLiteral("EM1"));
        employee.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT EmployeeName FROM Employee")).toString(),
                 QStringLiteral("陳喆堃犇峯"));
    }

    void openChecksDeclaredFields()
    {
        TableCursor missing;
        missing.setTableName(QStringLiteral("NoSuchTable"));
        QCOMPARE(errorOf([&] { missing.Open(); }), QString("Table 'NoSuchTable' does not exist"));
        QVERIFY(!missing.Active());

        TableCursor wrongType;
        wrongType.setTableName(QStringLiteral("Product"));
        wrongType.AddField(QStringLiteral("ProductID"), FieldType::String, 8);
        wrongType.AddField(QStringLiteral("Stock"), FieldType::String, 8);
        QCOMPARE(errorOf([&] { wrongType.Open(); }),
                 QString("Type mismatch for field 'Stock', expecting: String actual: Integer"));

        TableCursor absent;
        absent.setTableName(QStringLiteral("Product"));
        absent.AddField(QStringLiteral("Nothing"), FieldType::String, 8);
        QCOMPARE(errorOf([&] { absent.Open(); }), QString("Field 'Nothing' not found"));

        // No declared fields: one per column, in column order.
        TableCursor dynamic;
        dynamic.setTableName(QStringLiteral("Unit"));
        dynamic.Open();
        QCOMPARE(dynamic.FieldCount(), 3);
        QCOMPARE(dynamic.FieldAt(0)->FieldName(), QString("UnitID"));
        dynamic.Close();
        QCOMPARE(dynamic.FieldCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
