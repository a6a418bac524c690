// Grabs the windows the README shows, from a sample book written for the purpose on a
// fixed day, so that the pictures come out the same until the screens change:
//   tradebook_screenshots OUTPUT_FOLDER
// Run offscreen (QT_QPA_PLATFORM=offscreen) with fonts-noto-cjk installed.
#include "app/mainform.h"
#include "app/samplebook.h"
#include "app/startup.h"
#include "data/book/clock.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/records/tablecursor.h"
#include "lookup/queryscreens.h"
#include "maintenance/product.h"
#include "sales/quote.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

using namespace tb;

// In a palette of 256 colours, as a PNG, a picture of a window is a fifth of its size: its
// flat areas and text are drawn in few colours. The main window's picture, a photograph, is
// dithered into it rather than banded.
QImage paletted(const QImage &grabbed, bool photograph)
{
    return grabbed.convertToFormat(QImage::Format_Indexed8,
                                   photograph ? Qt::DiffuseDither
                                              : Qt::ThresholdDither | Qt::AvoidDither);
}

bool save(QWidget *window, const QString &folder, const QString &name,
          bool photograph = false)
{
    window->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const QImage picture = paletted(window->grab().toImage(), photograph);
    const bool saved = picture.save(path, "PNG", 0); // PNG: 0 is the tightest compression
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 qPrintable(path));
    window->hide();
    return saved;
}

// A part of a screen by its object name.
template<typename T>
T *named(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(screen->objectName()), name);
    return found;
}

TableCursor *productTable()
{
    return named<TableCursor>(Product, "Table1");
}

// The quotation with the most lines, to fill the window's grid.
QString longestQuotation()
{
    QSqlQuery query(Database::connection());
    query.exec(QStringLiteral("SELECT QuoteID FROM QuoteDetail GROUP BY QuoteID "
                              "ORDER BY COUNT(*) DESC, QuoteID LIMIT 1"));
    return query.next() ? query.value(0).toString() : QString();
}

bool grabAll(const QString &folder)
{
    bool ok = save(main, folder, QStringLiteral("main-window.png"), true);

    productTable()->Open();
    productTable()->Locate(QStringLiteral("ProductID"), QStringLiteral("PR000012"));
    ok = save(Product, folder, QStringLiteral("product-screen.png")) && ok;

    named<QComboBox>(R_product, "ComboBox1")->setCurrentIndex(2); // 商品類別
    named<QLineEdit>(R_product, "Edit1")->setText(QStringLiteral("地磚"));
    R_product->Button1Click();
    ok = save(R_product, folder, QStringLiteral("product-query.png")) && ok;

    Quote->session()->header()->Locate(QStringLiteral("QuoteID"), longestQuotation());
    ok = save(Quote, folder, QStringLiteral("quotation-window.png")) && ok;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("doc");
    QTemporaryDir work;
    const QString alias = QString::fromLatin1(Database::DefaultAlias);
    Clock::setToday(QDate(2026, 12, 8));
    try {
        Database::setPath(alias, work.filePath(QStringLiteral("sample.db")));
        SampleBook(alias, Clock::today()).write();
        if (!startUp())
            return 1;
        const bool ok = grabAll(folder);
        shutDown();
        return ok ? 0 : 1;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
}
