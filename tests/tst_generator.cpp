// The benchmark's data generator: its check digits and the rows it writes, on small sizes.

#include "bench/identifiers.h"
#include "bench/rowmaker.h"
#include "data/book/big5.h"
#include "data/book/schema.h"

#include <QDate>
#include <QSet>
#include <QTest>

using namespace tb;
using namespace tb::benchdata;

namespace {

GeneratorSizes smallSizes()
{
    GeneratorSizes s;
    s.products = 500;
    s.customers = 60;
    s.suppliers = 60;
    s.employees = 40;
    s.quotations = 480;
    return s;
}

const TableColumns &layoutOf(const QString &table)
{
    for (const TableColumns &l : RowMaker::layouts())
        if (l.table == table)
            return l;
    qFatal("no layout for %s", qPrintable(table));
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

private slots:
    void businessNumberCheck_data();
    void businessNumberCheck();
    void nationalIdCheck_data();
    void nationalIdCheck();
    void madeNumbersPass();
    void layoutsMatchTheSchema();
    void everyValueFitsItsColumn();
    void quotationsAreNumberedPerMonth();
    void rowsAreRepeatable();
};

void TestGenerator::businessNumberCheck_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("all zeros") << "00000000" << true;
    QTest::newRow("10000009") << "10000009" << true;
    QTest::newRow("seventh digit 7 rule") << "12345675" << true;
    QTest::newRow("sum 42") << "12345678" << false;
    QTest::newRow("sum 14") << "11111111" << false;
    QTest::newRow("seven characters") << "1234567" << false;
    QTest::newRow("letter counts -1") << "A0000001" << true;
}

void TestGenerator::businessNumberCheck()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(isValidEarNo(number), valid);
}

void TestGenerator::nationalIdCheck_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("valid");
    QTest::newRow("A123456789") << "A123456789" << true;
    QTest::newRow("last digit off") << "A123456788" << false;
    QTest::newRow("other letter") << "B123456789" << false;
    QTest::newRow("nine characters") << "A12345678" << false;
    QTest::newRow("no letter") << "1123456789" << false;
    QTest::newRow("letter at the end") << "A12345678X" << false;
}

void TestGenerator::nationalIdCheck()
{
    QFETCH(QString, id);
    QFETCH(bool, valid);
    QCOMPARE(isValidNationalId(id), valid);
}

void TestGenerator::madeNumbersPass()
{
    Rng rng(7);
    for (int i = 0; i < 2000; ++i) {
        const QString ear = makeEarNo(rng);
        QVERIFY2(ear.size() == 8 && isValidEarNo(ear), qPrintable(ear));
        const bool male = i % 2 == 0;
        const QString id = makeNationalId(rng, male);
        QVERIFY2(isValidNationalId(id), qPrintable(id));
        QCOMPARE(id.at(1), male ? QLatin1Char('1') : QLatin1Char('2'));
    }
}

void TestGenerator::layoutsMatchTheSchema()
{
    QCOMPARE(RowMaker::layouts().size(), Schema::tables().size());
    for (const TableColumns &layout : RowMaker::layouts()) {
        const TableDef *table = Schema::table(layout.table);
        QVERIFY2(table, qPrintable(layout.table));
        for (const QString &column : layout.columns)
            QVERIFY2(table->column(column), qPrintable(layout.table + '.' + column));
    }
}

// Every generated value has the type of its column, and every text fits its Big5 width.
void TestGenerator::everyValueFitsItsColumn()
{
    const RowMaker rows(smallSizes(), QDate(2024, 5, 17));
    auto check = [](const QString &tableName, const QVariantList &values) {
        const TableColumns &layout = layoutOf(tableName);
        const TableDef *table = Schema::table(tableName);
        QCOMPARE(values.size(), layout.columns.size());
        for (int i = 0; i < values.size(); ++i) {
            const ColumnDef *column = table->column(layout.columns[i]);
            const QVariant &v = values[i];
            const QString where = tableName + '.' + column->name + " = " + v.toString();
            if (v.isNull())
                continue;
            switch (column->type) {
            case FieldType::String:
                QVERIFY2(big5::isEncodable(v.toString()), qPrintable(where));
                QVERIFY2(big5::width(v.toString()) <= column->size, qPrintable(where));
                break;
            case FieldType::Integer:
                QVERIFY2(v.typeId() == QMetaType::Int, qPrintable(where));
                break;
            case FieldType::DateTime: {
                // Only promises and due dates may lie ahead of the day the data ends.
                static const QStringList ahead = {"AvailableDate", "AdvanceDate",
                                                  "ScotFreeDate"};
                const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
                QVERIFY2(d.isValid() && d.year() >= 1960, qPrintable(where));
                QVERIFY2(d <= QDate(2024, 5, 17) || ahead.contains(column->name),
                         qPrintable(where));
                break;
            }
            case FieldType::Memo:
                QVERIFY2(big5::isEncodable(v.toString()), qPrintable(where));
                break;
            }
        }
    };
    for (int i = 0; i < rows.unitNames().size(); ++i)
        check("Unit", rows.unit(i));
    for (int i = 0; i < rows.typeNames().size(); ++i)
        check("ProductType", rows.productType(i));
    for (int i = 0; i < RowMaker::colorNames().size(); ++i)
        check("Color", rows.color(i));
    for (int i = 0; i < RowMaker::departmentNames().size(); ++i)
        check("Department", rows.department(i));
    for (int i = 0; i < RowMaker::dutyNames().size(); ++i)
        check("Duty", rows.duty(i));
    const GeneratorSizes s = rows.sizes();
    QSet<QString> names;
    for (qint64 i = 0; i < s.products; ++i) {
        const QVariantList p = rows.product(i);
        check("Product", p);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(rows.typeNames().contains(p[2].toString()));
        QVERIFY(rows.unitNames().contains(p[3].toString()));
        names.insert(p[1].toString());
    }
    QCOMPARE(names.size(), qsizetype(s.products)); // each name finds its one product
    for (qint64 i = 0; i < s.customers; ++i) {
        const QVariantList c = rows.customer(i);
        check("Customer", c);
        QVERIFY(isValidEarNo(c[3].toString()));
        check("Supplier", rows.supplier(i));
    }
    for (qint64 i = 0; i < s.employees; ++i) {
        const QVariantList e = rows.employee(i);
        check("Employee", e);
        QVERIFY(isValidNationalId(e[2].toString()));
        QCOMPARE(e[4].toString(), e[2].toString().at(1) == QLatin1Char('1') ? QString("男") : QString("女"));
        QVERIFY(RowMaker::departmentNames().contains(e[11].toString()));
        QVERIFY(RowMaker::dutyNames().contains(e[15].toString()));
    }
    auto checkDocument = [&](const QString &master, const QString &detail,
                             const DocumentRows &doc) {
        check(master, doc.header);
        qint64 sum = 0;
        for (const QVariantList &line : doc.lines) {
            check(detail, line);
            QCOMPARE(line[0], doc.header[0]);
            const int amountColumn = int(layoutOf(detail).columns.indexOf("Amount"));
            sum += line[amountColumn].toLongLong();
        }
        const int n = int(doc.header.size());
        QCOMPARE(doc.header[n - 3].toLongLong(), sum);
        QCOMPARE(doc.header[n - 2].toLongLong(), RowMaker::tax(sum));
        QCOMPARE(doc.header[n - 1].toLongLong(), sum + RowMaker::tax(sum));
    };
    for (qint64 i = 0; i < s.quotations; ++i) {
        checkDocument("QuoteMaster", "QuoteDetail", rows.quotation(i));
        if (QTest::currentTestFailed())
            return;
    }
    for (qint64 i = 0; i < s.orders(); ++i) {
        checkDocument("OrderMaster", "OrderDetail", rows.order(i));
        checkDocument("DeliveryMaster", "DeliveryDetail", rows.delivery(i));
    }
    for (qint64 i = 0; i < s.returns(); ++i)
        checkDocument("DeliveryReturnMaster", "DeliveryReturnDetail", rows.deliveryReturn(i));
}

// OD + yymm + a running number from 0001 in each of the 24 months; lines 001.. in order;
// a quotation's lines and products refer to rows that exist.
void TestGenerator::quotationsAreNumberedPerMonth()
{
    const GeneratorSizes s = smallSizes();
    const RowMaker rows(s, QDate(2024, 5, 17));
    QString previous;
    QHash<QString, int> perMonth;
    qint64 lineCount = 0;
    for (qint64 i = 0; i < s.quotations; ++i) {
        const DocumentRows q = rows.quotation(i);
        const QString id = q.header[0].toString();
        QVERIFY2(id.size() == 10 && id.startsWith("OD"), qPrintable(id));
        QVERIFY2(id > previous, qPrintable(id)); // numbers rise in the order they are written
        previous = id;
        const QDate date = QDate::fromString(q.header[1].toString(), Qt::ISODate);
        QCOMPARE(id.mid(2, 4), date.toString("yyMM"));
        const int seq = ++perMonth[id.mid(2, 4)];
        QCOMPARE(id.mid(6).toInt(), seq);
        QVERIFY(q.lines.size() >= 1 && q.lines.size() <= std::size_t(RowMaker::MaxLines));
        for (std::size_t n = 0; n < q.lines.size(); ++n) {
            const QString number = QString::number(n + 1).rightJustified(3, '0');
            QCOMPARE(q.lines[n][1].toString(), number); // SEQ
            QCOMPARE(q.lines[n][2].toString(), number); // QdetailID
            const int product = q.lines[n][3].toString().mid(2).toInt();
            QVERIFY(product >= 1 && product <= s.products);
            const RowMaker::ProductCore core = rows.productCore(product - 1);
            QCOMPARE(q.lines[n][4].toString(), core.name);
        }
        lineCount += qint64(q.lines.size());
        QVERIFY(q.header[2].toString().mid(2).toInt() <= s.customers);
        QVERIFY(q.header[3].toString().mid(2).toInt() <= s.employees);
    }
    QCOMPARE(perMonth.size(), RowMaker::Months);
    QCOMPARE(perMonth.value("2405"), int(s.quotations / RowMaker::Months));
    // About five lines a quotation on average.
    const double mean = double(lineCount) / double(s.quotations);
    QVERIFY2(mean > 4.0 && mean < 6.0, qPrintable(QString::number(mean)));
}

void TestGenerator::rowsAreRepeatable()
{
    const RowMaker a(smallSizes(), QDate(2024, 5, 17));
    const RowMaker b(smallSizes(), QDate(2024, 5, 17));
    for (qint64 i : {0, 17, 499}) {
        QCOMPARE(a.product(i), b.product(i));
        QVERIFY(a.quotation(i).lines == b.quotation(i).lines);
    }
    QCOMPARE(a.employee(3), b.employee(3));
    QVERIFY(a.product(1) != a.product(2));
}

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
