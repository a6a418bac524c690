// The sample book that `tradebook --sample-book FILE` writes: every row passes the checks of
// the screen that would have written it, identifiers and numbers are well formed and unique,
// quotation totals agree with their lines, the same day gives the same book, and an
// existing file is refused and left as it was.
#include "app/mainform.h"
#include "app/samplebookcommand.h"
#include "data/book/big5.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/schema.h"
#include "data/records/tablecursor.h"
#include "maintenance/customer.h"
#include "maintenance/codetables.h"
#include "maintenance/employee.h"
#include "maintenance/numberchecks.h"
#include "maintenance/product.h"
#include "maintenance/supplier.h"
#include "sales/quotenumbers.h"
#include "sales/quotetotals.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screendriver.h"
#include "testsupport/screenparts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::ScreenDriver;
using namespace tb::test;

Q_DECLARE_METATYPE(std::function<tb::RecordScreen *()>)

namespace {

const QDate Today(2026, 3, 20); // the last four months reach back into the year before

int runCommand(const QStringList &arguments)
{
    return runSampleBookCommand(QStringList{QStringLiteral("tradebook")} + arguments);
}

QList<QVariantList> rows(const QString &sql)
{
    QSqlQuery query(Database::connection());
    if (!query.exec(sql))
        qFatal("%s", qPrintable(sql));
    QList<QVariantList> out;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        out << row;
    }
    return out;
}

QStringList column(const QString &sql)
{
    QStringList out;
    for (const QVariantList &row : rows(sql))
        out << row.value(0).toString();
    return out;
}

// Every row of every table, in key order: two books with the same dump hold the same rows.
QString dump()
{
    QString text;
    for (const TableDef &table : Schema::tables()) {
        const QString order = table.primaryKey.isEmpty()
                                  ? QStringLiteral("1")
                                  : table.primaryKey.join(QLatin1String(", "));
        for (const QVariantList &row : rows(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                                .arg(quoteName(table.name), order))) {
            QStringList values;
            for (const QVariant &value : row)
                values << value.toString();
            text += table.name + QLatin1Char(':') + values.join(QLatin1Char('|')) + u'\n';
        }
    }
    return text;
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestSampleBook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void sizesAndCodeNames();
    void identifiersAndNumbers();
    void textFitsItsColumns();
    void screensSaveEveryRow_data();
    void screensSaveEveryRow();
    void quotationsAgreeWithTheirLines();
    void sameDaySameBook();
    void existingFileRefusedAndUntouched();
    void privateFolderAndFile();
    void wrongArguments();

private:
    QTemporaryDir m_dir;
    QString m_book;
};

void TestSampleBook::initTestCase()
{
    Clock::setToday(Today);
    main = new Tmain;
    m_book = m_dir.filePath(QStringLiteral("sample.db"));
    QCOMPARE(runCommand({QStringLiteral("--sample-book"), m_book}), 0);
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), m_book);
}

void TestSampleBook::cleanupTestCase()
{
    delete main;
    main = nullptr;
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), QString());
    Clock::setToday(QDate());
}

void TestSampleBook::sizesAndCodeNames()
{
    const auto count = [](const char *table) {
        return rows(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
            .value(0).value(0).toInt();
    };
    QVERIFY(count("Product") >= 55 && count("Product") <= 65);
    QCOMPARE(count("Customer"), 20);
    QCOMPARE(count("Supplier"), 10);
    QCOMPARE(count("Employee"), 8);
    QCOMPARE(count("QuoteMaster"), 15);
    for (const char *table : {"Unit", "ProductType", "Color", "Department", "Duty"})
        QVERIFY2(count(table) >= 5, table);
    for (const char *unit : {"片", "箱", "坪", "支"})
        QVERIFY(column("SELECT UnitName FROM Unit").contains(QString::fromUtf8(unit)));
    for (const char *type : {"地磚", "地板", "壁紙", "油漆"})
        QVERIFY(column("SELECT TypeName FROM ProductType").contains(QString::fromUtf8(type)));

    // Products and employees carry names their pick-lists offer.
    const std::pair<const char *, const char *> picked[] = {
        {"SELECT DISTINCT TypeName FROM Product", "SELECT TypeName FROM ProductType"},
        {"SELECT DISTINCT UnitName FROM Product", "SELECT UnitName FROM Unit"},
        {"SELECT DISTINCT ColorName FROM Product", "SELECT ColorName FROM Color"},
        {"SELECT DISTINCT DepartmentName FROM Employee",
         "SELECT DepartmentName FROM Department"},
        {"SELECT DISTINCT DutyName FROM Employee", "SELECT DutyName FROM Duty"},
    };
    for (const auto &[used, offered] : picked) {
        const QStringList names = column(QLatin1String(offered));
        for (const QString &name : column(QLatin1String(used)))
            QVERIFY2(names.contains(name), qPrintable(name));
    }
    // Prices fall from tier A to C, and some products wait for an order.
    for (const QVariantList &p : rows("SELECT PriceA, PriceB, PriceC, SafeStock FROM Product")) {
        QVERIFY(p[0].toInt() > 0);
        QVERIFY(p[0].toInt() >= p[1].toInt() && p[1].toInt() >= p[2].toInt());
        QVERIFY(p[3].toInt() > 0);
    }
}

void TestSampleBook::identifiersAndNumbers()
{
    const std::tuple<const char *, const char *, const char *> keys[] = {
        {"Product", "ProductID", "PR\\d{6}"},   {"Customer", "CustomerID", "CU\\d{6}"},
        {"Supplier", "SupplierID", "SU\\d{6}"}, {"Employee", "EmployeeID", "EM\\d{6}"},
        {"Unit", "UnitID", "UN\\d{4}"},         {"ProductType", "TypeID", "TY\\d{4}"},
        {"Color", "ColorID", "CO\\d{4}"},       {"Department", "DepartmentID", "DE\\d{4}"},
        {"Duty", "DutyID", "DU\\d{4}"},         {"QuoteMaster", "QuoteID", "OD\\d{8}"},
    };
    for (const auto &[table, key, pattern] : keys) {
        const QRegularExpression format(QStringLiteral("^%1$").arg(QLatin1String(pattern)));
        const QStringList ids = column(QStringLiteral("SELECT %1 FROM %2")
                                           .arg(QLatin1String(key), QLatin1String(table)));
        for (const QString &id : ids)
            QVERIFY2(format.match(id).hasMatch(), qPrintable(id));
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
    }

    const QStringList earNos = column("SELECT EarNo FROM Customer UNION ALL "
                                      "SELECT EarNo FROM Supplier");
    QCOMPARE(QSet<QString>(earNos.begin(), earNos.end()).size(), 30);
    for (const QString &number : earNos)
        QVERIFY2(checkBusinessNumber(number) == BusinessNumberVerdict::Passes,
                 qPrintable(number));

    QSet<QString> ids;
    for (const QVariantList &e : rows("SELECT ID, Sex FROM Employee")) {
        const QString id = e[0].toString();
        QVERIFY2(checkNationalId(id) == NationalIdVerdict::Passes, qPrintable(id));
        // The second character tells men (1) from women (2).
        QCOMPARE(id.at(1), e[1].toString() == QStringLiteral("女") ? u'2' : u'1');
        ids.insert(id);
    }
    QCOMPARE(ids.size(), 8);
}

void TestSampleBook::textFitsItsColumns()
{
    for (const TableDef &table : Schema::tables()) {
        for (const ColumnDef &c : table.columns) {
            if (c.type != FieldType::String && c.type != FieldType::Memo)
                continue;
            for (const QString &text : column(QStringLiteral("SELECT %1 FROM %2")
                                                  .arg(quoteName(c.name), table.name))) {
                const QString where = table.name + u'.' + c.name + u' ' + text;
                QVERIFY2(big5::isStorable(text, c.type == FieldType::Memo), qPrintable(where));
                if (c.type == FieldType::String)
                    QVERIFY2(big5::width(text) <= c.size, qPrintable(where));
            }
        }
    }
}

void TestSampleBook::screensSaveEveryRow_data()
{
    QTest::addColumn<std::function<RecordScreen *()>>("make");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("table");
    const auto row = [](const char *name, std::function<RecordScreen *()> make,
                        const char *key, const char *table) {
        QTest::newRow(name) << make << QString::fromLatin1(key) << QString::fromLatin1(table);
    };
    row("product", [] { return new TProduct; }, "ProductID", "Product");
    row("customer", [] { return new TCustomer; }, "CustomerID", "Customer");
    row("supplier", [] { return new TSupplier; }, "SupplierID", "Supplier");
    row("employee", [] { return new Temployee; }, "EmployeeID", "Employee");
    row("unit", [] { return new Tpunit; }, "UnitID", "Unit");
    row("type", [] { return new TProductType; }, "TypeID", "ProductType");
    row("colour", [] { return new TPcolor; }, "ColorID", "Color");
    row("department", [] { return new Tdepartment; }, "DepartmentID", "Department");
    row("duty", [] { return new TDuty; }, "DutyID", "Duty");
}

// Each record brought onto its screen, edited and saved as a user would: the save runs the
// screen's checks, and the partner and employee screens' number checks run on the boxes.
// Not one message may come up, and the record stays as it was.
void TestSampleBook::screensSaveEveryRow()
{
    QFETCH(std::function<RecordScreen *()>, make);
    QFETCH(QString, key);
    QFETCH(QString, table);
    const std::unique_ptr<RecordScreen> screen(make());
    screen->show();
    const ScreenDriver ui(screen.get());
    const QString before = dump();
    ModalAnswer messages(QMessageBox::Ok, 1000);
    const QStringList ids = column(QStringLiteral("SELECT %1 FROM %2").arg(key, table));
    QVERIFY(!ids.isEmpty());
    for (const QString &id : ids) {
        table1(screen.get())->Open();
        QVERIFY(table1(screen.get())->Locate(key, id));
        ui.press(QStringLiteral("sbEdit"));
        if (auto *partner = qobject_cast<PartnerScreen *>(screen.get()))
            QVERIFY2(partner->CheckEarNo(ui.text(QStringLiteral("DBEdit4"))), qPrintable(id));
        if (auto *staff = qobject_cast<Temployee *>(screen.get()))
            QVERIFY2(staff->CheckID(ui.text(QStringLiteral("DBEdit3"))), qPrintable(id));
        ui.press(QStringLiteral("sbPost"));
        QVERIFY2(messages.seen() == 0, qPrintable(id + u' ' + messages.text()));
        QVERIFY2(!screen->isEditingMode(), qPrintable(id));
    }
    QCOMPARE(dump(), before);
}

void TestSampleBook::quotationsAgreeWithTheirLines()
{
    const QStringList customers = column("SELECT CustomerID FROM Customer");
    const QStringList employees = column("SELECT EmployeeID FROM Employee");
    QHash<QString, std::pair<QString, QString>> products; // name and unit by number
    for (const QVariantList &p : rows("SELECT ProductID, ProductName, UnitName FROM Product"))
        products.insert(p[0].toString(), {p[1].toString(), p[2].toString()});

    QHash<QString, QString> lastOfMonth;
    const auto headers = rows("SELECT QuoteID, QuoteDate, CustomerID, EmployeeID, SubTotal, "
                              "ValueAddTax, Amount FROM QuoteMaster ORDER BY QuoteID");
    QDate earliest = Today;
    for (const QVariantList &h : headers) {
        const QString id = h[0].toString();
        const QDate date = QDate::fromString(h[1].toString().left(10), Qt::ISODate);
        QVERIFY2(date.isValid() && date <= Today, qPrintable(id));
        earliest = std::min(earliest, date);
        // Numbered as the quotation window numbers them: by month, one after the other.
        const QString prefix = quotenumbers::monthPrefix(date);
        QCOMPARE(id, quotenumbers::nextQuoteId(prefix, lastOfMonth.value(prefix)));
        lastOfMonth.insert(prefix, id);
        QVERIFY(customers.contains(h[2].toString()));
        QVERIFY(employees.contains(h[3].toString()));

        const auto lines = rows(QStringLiteral("SELECT SEQ, QdetailID, ProductID, ProductName, "
                                               "Unit, Quantity, Price, Amount FROM QuoteDetail "
                                               "WHERE QuoteID = '%1' ORDER BY SEQ").arg(id));
        QVERIFY2(lines.size() >= 1 && lines.size() <= 12, qPrintable(id));
        double sum = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const QVariantList &l = lines[i];
            QCOMPARE(l[0].toString(), quotenumbers::lineNumber(i + 1));
            QCOMPARE(l[1].toString(), l[0].toString());
            QVERIFY(products.contains(l[2].toString()));
            QCOMPARE(l[3].toString(), products.value(l[2].toString()).first);
            QCOMPARE(l[4].toString(), products.value(l[2].toString()).second);
            QVERIFY(l[5].toInt() > 0 && l[6].toInt() > 0);
            QCOMPARE(l[7].toLongLong(), l[5].toLongLong() * l[6].toLongLong());
            sum += l[5].toDouble() * l[6].toDouble();
        }
        const QuoteTotals totals = QuoteTotals::fromSum(sum);
        QCOMPARE(h[4].toLongLong(), totals.subTotal);
        QCOMPARE(h[5].toLongLong(), totals.tax);
        QCOMPARE(h[6].toLongLong(), totals.amount);
    }
    QCOMPARE(headers.size(), 15);
    // Spread over the last months, not all on one day.
    QVERIFY(earliest < Today.addMonths(-2));
    QVERIFY(lastOfMonth.size() >= 3);
    // The quotation a first try prints: the first of this month.
    QVERIFY(lastOfMonth.contains(quotenumbers::monthPrefix(Today)));
}

void TestSampleBook::sameDaySameBook()
{
    const QString first = dump();
    const QString again = m_dir.filePath(QStringLiteral("again.db"));
    QCOMPARE(runCommand({QStringLiteral("--sample-book"), again}), 0);
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), again);
    const QString second = dump();
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), m_book);
    QCOMPARE(second, first);
}

void TestSampleBook::existingFileRefusedAndUntouched()
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath(QStringLiteral("notes.db"));
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a book\n");
    file.close();
    const QString empty = dir.filePath(QStringLiteral("empty.db"));
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    const QString book = dir.filePath(QStringLiteral("book.db"));
    QVERIFY(QFile::copy(m_book, book));

    for (const QString &path : {foreign, empty, book}) {
        const QByteArray before = digest(path);
        QCOMPARE(runCommand({QStringLiteral("--sample-book"), path}), 1);
        QCOMPARE(digest(path), before);
    }
    // Nothing was left beside them either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                 .size(), 3);
}

void TestSampleBook::privateFolderAndFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new/books/sample.db"));
    QCOMPARE(runCommand({QStringLiteral("--sample-book"), path}), 0);
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto otherBits = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                           | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const char *folder : {"new", "new/books"}) {
        const QFile::Permissions p = QFileInfo(dir.filePath(QLatin1String(folder)))
                                         .permissions();
        QVERIFY2((p & ownerOnly) == ownerOnly && !(p & otherBits), folder);
    }
    const auto readWrite = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions p = QFileInfo(path).permissions();
    QVERIFY((p & readWrite) == readWrite);
    QVERIFY(!(p & (otherBits | QFile::ExeOwner)));
    // The book alone, without the folder it was written in.
    QCOMPARE(QDir(dir.filePath(QStringLiteral("new/books")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("sample.db")});
}

void TestSampleBook::wrongArguments()
{
    QCOMPARE(runCommand({QStringLiteral("--sample-book")}), 2);
    QCOMPARE(runCommand({QStringLiteral("--sample-book"), QStringLiteral("a.db"),
                         QStringLiteral("b.db")}),
             2);
    QVERIFY(!QFileInfo::exists(QStringLiteral("a.db")));
}

QTEST_MAIN(TestSampleBook)
#include "tst_samplebook.moc"
