// Several copies of the application saving into one book at the same moment: four
// processes on four connections add products and quotations through their screens.
// No number is given twice and no save is lost.

#include "app/mainform.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/records/dataset.h"
#include "data/book/errors.h"
#include "data/records/tablecursor.h"
#include "lookup/productpicker.h"
#include "maintenance/product.h"
#include "sales/quote.h"
#include "testsupport/testdatabase.h"
#include "testsupport/screenparts.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <memory>

using namespace tb;
using namespace tb::test;

namespace {

constexpr int Workers = 4;
constexpr int ProductsEach = 25;
constexpr int QuotationsEach = 12;
constexpr int LinesEach = 3;
const char *WorkerVariable = "TRADEBOOK_TEST_WORKER";

// ---- the worker: one copy of the application ------------------------------------------------

// Answers every message box at once, as a user pressing OK would, and keeps its text.
class MessageAnswerer : public QObject
{
public:
    MessageAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts << box->text();
            box->done(QMessageBox::Ok);
        });
        m_timer.start(2);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

void addProduct(const QString &name)
{
    Product->sbInsertClick();
    DataSet *table = table1(Product);
    table->FieldByName("ProductName")->setAsString(name);
    table->FieldByName("TypeName")->setAsString(QStringLiteral("地磚"));
    table->FieldByName("UnitName")->setAsString(QStringLiteral("箱"));
    table->FieldByName("SafeStock")->setAsString(QStringLiteral("1"));
    table->FieldByName("PriceA")->setAsString(QStringLiteral("100"));
    Product->sbPostClick();
    if (table1(Product)->Active())
        throw DatabaseError(QStringLiteral("the product screen stayed in editing mode"));
    std::printf("product %s\n", qPrintable(name));
}

void addQuotation(const QString &memo, int worker)
{
    Quote->sbInsertClick();
    TableCursor *header = Quote->session()->header();
    TableCursor *lines = Quote->session()->lines();
    header->FieldByName("CustomerID")->setAsString(QStringLiteral("CU000001"));
    header->FieldByName("Memo")->setAsString(memo);
    for (int line = 1; line <= LinesEach; ++line) {
        lines->Append();
        lines->FieldByName("ProductID")->setAsString(QStringLiteral("PR000001"));
        lines->FieldByName("Quantity")->setAsInteger(worker);
        lines->FieldByName("Price")->setAsInteger(line);
        lines->Post();
    }
    Quote->sbPostClick();
    if (header->State() != DataSetState::Browse)
        throw DatabaseError(QStringLiteral("the quotation stayed in editing mode"));
    std::printf("quotation %s %s\n", qPrintable(memo),
                qPrintable(header->FieldByName("QuoteID")->AsString()));
}

int runWorker(int worker)
{
    Clock::setToday(QDate(2024, 5, 17));
    MessageAnswerer answers;
    tb::main = new Tmain;
    Product = new TProduct;
    Form28 = new TProductPicker;
    Quote = new TQuote;
    int failures = 0;
    // Products and quotations interleaved, so that both kinds of save meet the others'.
    for (int i = 0; i < ProductsEach; ++i) {
        const QString tag = QStringLiteral("w%1-%2").arg(worker).arg(i);
        const char *saving = "product";
        try {
            addProduct(QStringLiteral("product ") + tag);
            saving = "quotation";
            if (i < QuotationsEach)
                addQuotation(QStringLiteral("quote ") + tag, worker);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "worker %d, %s %d: %s\n", worker, saving, i, error.what());
            ++failures;
        }
    }
    for (const QString &text : std::as_const(answers.texts)) {
        const bool numberTaken = text.contains(QStringLiteral("PR"))
                                 || text.contains(QStringLiteral("OD2405"));
        if (!numberTaken) {
            std::fprintf(stderr, "worker %d: unexpected message: %s\n", worker,
                         qPrintable(text));
            ++failures;
        }
    }
    std::fflush(stdout);
    delete Quote;
    delete Form28;
    delete Product;
    delete tb::main;
    Database::closeAll();
    return failures == 0 ? 0 : 1;
}

} // namespace

// ---- the test ---------------------------------------------------------------------------------

class TestConcurrency : public QObject
{
    Q_OBJECT
private slots:
    void fourCopiesSaveAtOnce();
};

void TestConcurrency::fourCopiesSaveAtOnce()
{
    test::TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO Customer (CustomerID, CustomerAttribName) "
                           "VALUES ('CU000001', '大華')"));
    db.exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                           "VALUES ('PR000001', 'seed')"));
    Database::closeAll();

    std::vector<std::unique_ptr<QProcess>> workers;
    for (int w = 1; w <= Workers; ++w) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(WorkerVariable), QString::number(w));
        env.insert(QStringLiteral("TRADEBOOK_DATABASE"), db.path());
        process->setProcessEnvironment(env);
        process->start(QCoreApplication::applicationFilePath(), {});
        workers.push_back(std::move(process));
    }
    QStringList products;
    QStringList quotations;
    for (int w = 0; w < Workers; ++w) {
        QProcess &process = *workers[size_t(w)];
        QVERIFY(process.waitForFinished(240000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(QStringLiteral("worker %1: %2").arg(w + 1).arg(err)));
        for (const QString &line : QString::fromUtf8(process.readAllStandardOutput())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("product ")))
                products << line.mid(8);
            else if (line.startsWith(QLatin1String("quotation ")))
                quotations << line.mid(10);
        }
    }
    QCOMPARE(products.size(), Workers * ProductsEach);
    QCOMPARE(quotations.size(), Workers * QuotationsEach);

    // Every save is there, each under a number of its own.
    QCOMPARE(db.count("Product"), Workers * ProductsEach + 1);
    for (const QString &name : std::as_const(products))
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Product WHERE ProductName = ?"),
                           {name}).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT max(ProductID) FROM Product")).toString(),
             QStringLiteral("PR%1").arg(Workers * ProductsEach + 1, 6, 10, QLatin1Char('0')));
    QCOMPARE(db.count("QuoteMaster"), Workers * QuotationsEach);
    QCOMPARE(db.count("QuoteDetail"), Workers * QuotationsEach * LinesEach);
    QSet<QString> numbers;
    for (const QString &entry : std::as_const(quotations)) {
        const QString memo = entry.section(QLatin1Char(' '), 0, 1);
        const QString number = entry.section(QLatin1Char(' '), 2, 2);
        numbers.insert(number);
        const int worker = memo.section(QLatin1Char('w'), 1).section(QLatin1Char('-'), 0, 0)
                               .toInt();
        QCOMPARE(db.scalar(QStringLiteral("SELECT Memo FROM QuoteMaster WHERE QuoteID = ?"),
                           {number}).toString(), memo);
        // Its own lines, each quantity × price, and its totals.
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM QuoteDetail "
                                          "WHERE QuoteID = ? AND Quantity = ?"),
                           {number, worker}).toInt(), LinesEach);
        QCOMPARE(db.scalar(QStringLiteral("SELECT SubTotal FROM QuoteMaster WHERE QuoteID = ?"),
                           {number}).toInt(), worker * (1 + 2 + 3));
    }
    QCOMPARE(numbers.size(), Workers * QuotationsEach);
    QCOMPARE(db.scalar(QStringLiteral("SELECT max(QuoteID) FROM QuoteMaster")).toString(),
             QStringLiteral("OD2405%1").arg(Workers * QuotationsEach, 4, 10, QLatin1Char('0')));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int worker = qEnvironmentVariableIntValue(WorkerVariable);
    if (worker > 0)
        return runWorker(worker);
    TestConcurrency test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_concurrency.moc"
