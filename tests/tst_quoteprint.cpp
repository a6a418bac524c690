// Printing a quotation: the "列印" button of the quotation window, its print preview and
// "另存 PDF", the PDF's pages read back as text, and `tradebook --quotation-pdf` run as a
// script runs it.
#include "app/commandline.h"
#include "app/mainform.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "sales/pdftextmap.h"
#include "sales/quotedocument.h"
#include "sales/quote.h"
#include "sales/quoteprintout.h"
#include "testsupport/filedialog.h"
#include "testsupport/testdatabase.h"
#include "testsupport/whenshown.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRawFont>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace tb;
using tb::test::WhenShown;

namespace {

const QString Quote3 = QStringLiteral("OD24050001");
const QString Quote60 = QStringLiteral("OD24050002");

struct Line
{
    QString productId;
    int quantity, price;
    qint64 amount() const { return qint64(quantity) * price; }
};

QList<Line> linesOf(int count)
{
    QList<Line> lines;
    for (int i = 1; i <= count; ++i)
        lines.append({QStringLiteral("PR%1").arg(100000 + i), i * 3, 1250 + 7 * i});
    return lines;
}

// Runs a poppler tool on a PDF and returns what it prints.
QString poppler(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed (poppler-utils is installed by scripts/setup.sh): %s",
               qPrintable(tool), qPrintable(process.errorString()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &pdf, int page = 0, bool layout = false)
{
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return poppler(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

int pageCount(const QString &pdf)
{
    const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QString amount(qint64 value)
{
    return QuotePrintout::groupThousands(value);
}

} // namespace

class TestQuotePrint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void thousandsSeparators();
    void textMapNamesTheIdeographs();
    void threeLinesOnOnePage();
    void sixtyLinesOverTwoPages();
    void tallFirstLineStartsOnTheNextPage();
    void printButtonOnlyForAStoredQuotation();
    void previewSavesThePdf();
    void commandLineWithoutDisplay();
    void typedLinesTakeTheProductsNameAndUnit();
    void datesReadYearMonthDayWhateverTheSystem();

private:
    void seedQuotation(const QString &id, const QList<Line> &lines, const QString &memo);
    QString writePdf(const QString &id);

    QTemporaryDir m_home;
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestQuotePrint::initTestCase()
{
    // The user's settings and documents live in a temporary home, so that the company
    // entries set here neither read nor touch the real ones.
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
    QDir(m_home.path()).mkpath(QStringLiteral("Documents"));
    QSettings settings(QStringLiteral("tradebook"), QStringLiteral("tradebook"));
    settings.setValue(QStringLiteral("company/name"), QStringLiteral("大華建材行"));
    settings.setValue(QStringLiteral("company/address"), QStringLiteral("台北市中山路1號"));
    settings.setValue(QStringLiteral("company/telephone"), QStringLiteral("02-2345-6789"));
    settings.remove(QStringLiteral("company/businessNumber")); // an empty line is left out
    main = new Tmain;
}

void TestQuotePrint::init()
{
    m_db = std::make_unique<test::TestDatabase>();
    ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
    m_db->exec(QStringLiteral(
        "INSERT INTO Customer (CustomerID, CustomerAttribName, CustomerName, JoinMan, Tel, "
        "CompanyAddress) VALUES ('CU000001', '長青', '長青室內裝修有限公司', '林小姐', "
        "'04-2222-3333', '台中市西屯區文心路100號')"));
    m_db->exec(QStringLiteral(
        "INSERT INTO Employee (EmployeeID, EmployeeName) VALUES ('EM000001', '王大明')"));
    seedQuotation(Quote3, {{"PR000001", 3, 1250}, {"PR000002", 2, 333}, {"PR000003", 10, 98765}},
                  QStringLiteral("交貨期兩週,運費另計。"));
    seedQuotation(Quote60, linesOf(60), QString());
}

void TestQuotePrint::cleanup()
{
    delete Quote;
    Quote = nullptr;
    m_db.reset();
    ShortDate::resetToSystem();
}

void TestQuotePrint::seedQuotation(const QString &id, const QList<Line> &lines,
                                   const QString &memo)
{
    qint64 sum = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString number = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        m_db->exec(QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, ProductID, "
                                  "ProductName, Quantity, Unit, Price) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                   {id, number, number, lines[i].productId, QStringLiteral("拋光石英磚"),
                    lines[i].quantity, QStringLiteral("片"), lines[i].price});
        sum += lines[i].amount();
    }
    const qint64 tax = qRound64(double(sum) * 0.05);
    m_db->exec(QStringLiteral("INSERT INTO QuoteMaster VALUES (?, '2024-05-17', 'CU000001', "
                              "'EM000001', '2024-06-16', ?, ?, ?, ?)"),
               {id, memo.isEmpty() ? QVariant() : QVariant(memo), sum, tax, sum + tax});
}

QString TestQuotePrint::writePdf(const QString &id)
{
    const QString file = m_home.filePath(id + QStringLiteral(".pdf"));
    QString error;
    const int code = CommandLine::writeQuotationPdf(id, file, &error);
    if (code != 0)
        qFatal("no PDF: %s", qPrintable(error));
    return file;
}

void TestQuotePrint::thousandsSeparators()
{
    QCOMPARE(QuotePrintout::groupThousands(0), QStringLiteral("0"));
    QCOMPARE(QuotePrintout::groupThousands(999), QStringLiteral("999"));
    QCOMPARE(QuotePrintout::groupThousands(1000), QStringLiteral("1,000"));
    QCOMPARE(QuotePrintout::groupThousands(-1234567), QStringLiteral("-1,234,567"));
    QCOMPARE(QuotePrintout::groupThousands(4611686014132420609LL),
             QStringLiteral("4,611,686,014,132,420,609"));
}

// The map is put right wherever Qt writes it, and nothing else in the file moves.
void TestQuotePrint::textMapNamesTheIdeographs()
{
    const PdfTextMap map(QRawFont::fromFont(QFont(QuotePrintout::FontFamily)));
    QCOMPARE(map.plainCodePoint(0x2FB4), char16_t(0x9801)); // ⾴ 頁
    QCOMPARE(map.plainCodePoint(0x2ED1), char16_t(0x9577)); // ⻑ 長
    QCOMPARE(map.plainCodePoint(0x0009), char16_t(0x0020));
    QCOMPARE(map.plainCodePoint(0x9801), char16_t(0x9801));
    QCOMPARE(map.plainCodePoint(0x0041), char16_t(0x0041));

    const QByteArray pdf = QByteArrayLiteral(
        "stream\n2 beginbfchar\n<0003> <2FB4>\n<0004> <0009>\nendbfchar\n"
        "3 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<5831> <2FA6>\n<2ED1> ]\n"
        "<0005> <0005> <2F00>\n<0006> <0007> <2F00>\nendbfrange\n<2FB4> outside\n");
    const QByteArray fixed = map.corrected(pdf);
    QCOMPARE(fixed.size(), pdf.size());
    QCOMPARE(fixed, QByteArrayLiteral(
        "stream\n2 beginbfchar\n<0003> <9801>\n<0004> <0020>\nendbfchar\n"
        "3 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<5831> <91D1>\n<9577> ]\n"
        "<0005> <0005> <4E00>\n<0006> <0007> <2F00>\nendbfrange\n<2FB4> outside\n"));
}

void TestQuotePrint::threeLinesOnOnePage()
{
    const QString pdf = writePdf(Quote3);
    QCOMPARE(pageCount(pdf), 1);
    const QString text = pdfText(pdf);
    for (const QString &expected :
         {QStringLiteral("大華建材行"), QStringLiteral("台北市中山路1號"),
          QStringLiteral("電話: 02-2345-6789"), QuotePrintout::Title, Quote3,
          QStringLiteral("2024/05/17"), QStringLiteral("2024/06/16"),
          QStringLiteral("CU000001"), QStringLiteral("長青室內裝修有限公司"),
          QStringLiteral("林小姐"), QStringLiteral("04-2222-3333"),
          QStringLiteral("台中市西屯區文心路100號"), QStringLiteral("王大明"),
          QStringLiteral("3,750"), QStringLiteral("666"), QStringLiteral("987,650"),
          QStringLiteral("98,765"), QStringLiteral("992,066"), QStringLiteral("49,603"),
          QStringLiteral("1,041,669"), QStringLiteral("交貨期兩週,運費另計。"),
          QStringLiteral("第 1 頁,共 1 頁")})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    for (const QString &title : QuotePrintout::ColumnTitles)
        QVERIFY2(text.contains(title), qPrintable(title));
    QVERIFY(!text.contains(QStringLiteral("統一編號"))); // not set: no empty line for it

    // The fonts travel with the file: a machine without them reads the same page.
    const QString fonts = poppler(QStringLiteral("pdffonts"), {pdf});
    bool embedded = false;
    for (const QString &line : fonts.split(QLatin1Char('\n'))) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (line.startsWith(QLatin1String("NotoSansCJK")) && columns.size() > 4) {
            QVERIFY2(columns.at(columns.size() - 5) == QLatin1String("yes"), qPrintable(line));
            embedded = true;
        }
    }
    QVERIFY2(embedded, qPrintable(fonts));
}

void TestQuotePrint::sixtyLinesOverTwoPages()
{
    const QString pdf = writePdf(Quote60);
    QCOMPARE(pageCount(pdf), 2);
    const QString first = pdfText(pdf, 1), second = pdfText(pdf, 2);
    QVERIFY(first.contains(QStringLiteral("第 1 頁,共 2 頁")));
    QVERIFY(second.contains(QStringLiteral("第 2 頁,共 2 頁")));
    for (const QString &title : QuotePrintout::ColumnTitles)
        QVERIFY2(first.contains(title) && second.contains(title), qPrintable(title));

    // Each line once, in grid order, its amount on the same row.
    const QString rows = pdfText(pdf, 0, true);
    qsizetype at = 0;
    qint64 sum = 0;
    for (const Line &line : linesOf(60)) {
        const qsizetype found = rows.indexOf(line.productId, at);
        QVERIFY2(found > at, qPrintable(line.productId));
        const QString row = rows.mid(found, rows.indexOf(QLatin1Char('\n'), found) - found);
        QVERIFY2(row.contains(amount(line.amount())), qPrintable(row));
        at = found;
        sum += line.amount();
    }
    const qint64 tax = qRound64(double(sum) * 0.05);
    QVERIFY(!first.contains(QStringLiteral("總計金額")));
    for (const QString &total : {amount(sum), amount(tax), amount(sum + tax)})
        QVERIFY2(second.contains(total), qPrintable(total));
    QVERIFY(second.contains(Quote60)); // a loose page still says whose it is
}

// The first page has less room than the others (company and header): a first line too
// tall for it starts the table on page 2 rather than running over the footer, and a line
// taller than any page is cut to one.
void TestQuotePrint::tallFirstLineStartsOnTheNextPage()
{
    const QString id = QStringLiteral("OD24050003");
    seedQuotation(id, {{"PR900001", 1, 10}}, QString());
    QStringList memo;
    for (int i = 1; i <= 150; ++i)
        memo << QStringLiteral("第%1行").arg(i);
    m_db->exec(QStringLiteral("UPDATE QuoteDetail SET Memo = ? WHERE QuoteID = ?"),
               {memo.join(QLatin1Char('\n')), id});

    const QString pdf = writePdf(id);
    QCOMPARE(pageCount(pdf), 3);
    const QString first = pdfText(pdf, 1), second = pdfText(pdf, 2);
    QVERIFY(first.contains(QStringLiteral("第 1 頁,共 3 頁")));
    QVERIFY(!first.contains(QStringLiteral("PR900001")));
    QVERIFY(!first.contains(QuotePrintout::ColumnTitles.at(1))); // no titles over nothing
    QVERIFY(second.contains(QStringLiteral("PR900001")));
    QVERIFY(second.contains(QStringLiteral("第1行")));
    QVERIFY(second.contains(QStringLiteral("…")));
    QVERIFY(!second.contains(QStringLiteral("第150行")));
}

void TestQuotePrint::printButtonOnlyForAStoredQuotation()
{
    Quote = new TQuote;
    Quote->show();
    QPushButton *print = Quote->findChild<QPushButton *>(QStringLiteral("Button2"));
    QVERIFY(print);
    QCOMPARE(print->text(), QStringLiteral("列印"));
    auto *close = Quote->findChild<QPushButton *>(QStringLiteral("Button1"));
    QVERIFY(close);
    auto *row = qobject_cast<QHBoxLayout *>(close->parentWidget()->layout());
    QCOMPARE(row->indexOf(print) + 1, row->indexOf(close)); // beside "結束"
    QVERIFY(print->isEnabled());

    const auto press = [](const char *name) {
        QTest::mouseClick(Quote->findChild<QAbstractButton *>(QLatin1String(name)),
                          Qt::LeftButton);
    };
    press("sbEdit");
    QVERIFY(!print->isEnabled());
    press("sbCancel");
    QVERIFY(print->isEnabled());
    press("sbInsert");
    QVERIFY(!print->isEnabled());
    press("sbCancel");
    QVERIFY(print->isEnabled());
    // A header changed in browse mode through its look-up box is not what is stored.
    Quote->session()->header()->Edit();
    QVERIFY(!print->isEnabled());
    Quote->session()->header()->Cancel();
    QVERIFY(print->isEnabled());

    m_db->exec(QStringLiteral("DELETE FROM QuoteMaster"));
    press("sbRefresh");
    QVERIFY(!print->isEnabled());
}

void TestQuotePrint::previewSavesThePdf()
{
    Quote = new TQuote;
    Quote->show();
    QVERIFY(Quote->session()->header()->Locate(QStringLiteral("QuoteID"), Quote3));
    const QString saved = m_home.filePath(QStringLiteral("saved/copy.pdf"));
    QDir().mkpath(QFileInfo(saved).path());

    QString proposed, title;
    QPageLayout layout;
    std::optional<WhenShown<QFileDialog>> fileDialog;
    WhenShown<QPrintPreviewDialog> preview([&](QPrintPreviewDialog *dialog) {
        title = dialog->windowTitle();
        layout = dialog->printer()->pageLayout();
        QAction *save = nullptr;
        for (QAction *action : dialog->findChildren<QAction *>())
            if (action->text() == QStringLiteral("另存 PDF"))
                save = action;
        QVERIFY(save && save->isEnabled());
        fileDialog.emplace([&](QFileDialog *files) {
            proposed = files->selectedFiles().value(0);
            test::saveAs(files, saved);
        });
        save->trigger();
        dialog->reject();
    });
    QTest::mouseClick(Quote->findChild<QPushButton *>(QStringLiteral("Button2")),
                      Qt::LeftButton);
    QVERIFY(preview.done());
    QVERIFY(fileDialog && fileDialog->done());
    QVERIFY(title.contains(Quote3));
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(QFileInfo(proposed).fileName(), Quote3 + QStringLiteral(".pdf"));
    QCOMPARE(QFileInfo(proposed).absolutePath(), QFileInfo(documents).absoluteFilePath());

    const QString text = pdfText(saved);
    QVERIFY(text.contains(Quote3));
    QVERIFY(text.contains(QStringLiteral("長青室內裝修有限公司")));
    QVERIFY(text.contains(QStringLiteral("第 1 頁,共 1 頁")));
}

// The program itself, as a script starts it: no display, the database named by the
// environment.
void TestQuotePrint::commandLineWithoutDisplay()
{
    const auto run = [&](const QStringList &args, const QString &database) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("TRADEBOOK_DATABASE"), database);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TRADEBOOK_BINARY), args);
        if (!process.waitForFinished(60000))
            qFatal("tradebook did not finish");
        const QStringList errors = QString::fromUtf8(process.readAllStandardError())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return std::pair{process.exitCode(), errors};
    };
    const QString pdf = m_home.filePath(QStringLiteral("script.pdf"));
    const auto [done, quiet] = run({"--quotation-pdf", Quote60, pdf}, m_db->path());
    QCOMPARE(done, 0);
    QVERIFY2(quiet.isEmpty(), qPrintable(quiet.join(QLatin1Char('\n'))));
    QVERIFY(pdfText(pdf).contains(QStringLiteral("第 2 頁,共 2 頁")));

    const QString none = m_home.filePath(QStringLiteral("none.pdf"));
    const auto [unknown, unknownError] = run({"--quotation-pdf", "OD99990001", none},
                                             m_db->path());
    QCOMPARE(unknown, 1);
    QVERIFY2(unknownError.size() == 1, qPrintable(unknownError.join(QLatin1Char('\n'))));
    QVERIFY(unknownError[0].contains(QStringLiteral("OD99990001")));
    QVERIFY(!QFileInfo::exists(none));

    const QString missing = m_home.filePath(QStringLiteral("missing.db"));
    const auto [noDatabase, noDatabaseError] = run({"--quotation-pdf", Quote3, none}, missing);
    QCOMPARE(noDatabase, 1);
    QCOMPARE(noDatabaseError.size(), 1);
    QVERIFY(noDatabaseError[0].contains(missing));
    QVERIFY(!QFileInfo::exists(missing)); // nothing is created on the way
    QVERIFY(!QFileInfo::exists(none));

    const auto [usage, usageError] = run({"--quotation-pdf", Quote3}, m_db->path());
    QCOMPARE(usage, 2);
    QCOMPARE(usageError.size(), 1);
}

void TestQuotePrint::typedLinesTakeTheProductsNameAndUnit()
{
    const QString id = QStringLiteral("OD24050003");
    m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, UnitName) VALUES "
                              "('PR000101', '霧面木紋磚', '箱'), ('PR000102', '標準門片', '片')"));
    m_db->exec(QStringLiteral("INSERT INTO QuoteMaster VALUES (?, '2024-05-17', 'CU000001', "
                              "'EM000001', NULL, NULL, 0, 0, 0)"), {id});
    // As the grid leaves them: a line typed by its number alone, a line with its own name
    // and unit, a line with only its own unit, a line of a product no longer stored.
    const QString insert = QStringLiteral("INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, "
                                          "ProductID, ProductName, Quantity, Unit, Price) "
                                          "VALUES (?, ?, ?, ?, ?, 1, ?, 1)");
    const QVariant none;
    m_db->exec(insert, {id, "001", "001", "PR000101", none, none});
    m_db->exec(insert, {id, "002", "002", "PR000102", QStringLiteral("特製門片"),
                        QStringLiteral("樘")});
    m_db->exec(insert, {id, "003", "003", "PR000102", QStringLiteral(""),
                        QStringLiteral("組")});
    m_db->exec(insert, {id, "004", "004", "PR000999", none, none});

    const std::optional<QuoteDocument> doc = QuoteDocument::read(id);
    QVERIFY(doc);
    QStringList shown;
    for (const QuoteDocumentLine &line : doc->lines)
        shown << line.productName + QLatin1Char('/') + line.unit;
    QCOMPARE(shown, (QStringList{"霧面木紋磚/箱", "特製門片/樘", "標準門片/組", "/"}));

    const QString text = pdfText(writePdf(id));
    for (const char *expected : {"霧面木紋磚", "箱", "特製門片", "樘", "標準門片", "組"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    // Printing reads: the lines stay as they were typed.
    QVERIFY(m_db->scalar(QStringLiteral("SELECT ProductName FROM QuoteDetail "
                                        "WHERE QuoteID = ? AND SEQ = '001'"), {id}).isNull());
}

void TestQuotePrint::datesReadYearMonthDayWhateverTheSystem()
{
    // A system whose short date spells the month, as an English one may.
    ShortDate::setPattern(QStringLiteral("d MMM yyyy"));
    QCOMPARE(ShortDate::format(QDate(2024, 5, 17)), QStringLiteral("17 May 2024"));
    const QString text = pdfText(writePdf(Quote3));
    QVERIFY2(text.contains(QStringLiteral("2024/05/17")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("2024/06/16")));
    QVERIFY(!text.contains(QStringLiteral("May 2024")));
    QVERIFY(!text.contains(QStringLiteral("Jun 2024")));
}

QTEST_MAIN(TestQuotePrint)
#include "tst_quoteprint.moc"
