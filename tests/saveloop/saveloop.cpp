// A copy of the application that saves products and quotations through its own windows, one
// after the other, and tells each save that went through on standard output, as soon as it
// has gone through. The fault tests kill it at random moments, or run several on one file.
//
// usage: tradebook_saveloop WORKER [COUNT]   (COUNT 0 or absent: until killed)
// The database is the application's (TRADEBOOK_DATABASE); it holds customer CU000001 and
// product PR000001.

#include "app/startup.h"
#include "controls/dbedit.h"
#include "data/records/field.h"
#include "data/records/tablecursor.h"
#include "maintenance/product.h"
#include "sales/quote.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

using namespace tb;

namespace {

constexpr int LinesPerQuotation = 20;

// A user who reads every message and presses its default button.
void answerMessages()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
        if (QPushButton *button = box->defaultButton())
            button->click();
        else
            box->done(QMessageBox::Ok);
    });
    timer->start(1);
}

void report(const char *what, const QString &marker, const QString &number)
{
    std::printf("%s %s %s\n", what, qPrintable(marker), qPrintable(number));
    std::fflush(stdout);
}

// A control of the product screen by its object name.
template<typename T>
T *productControl(const char *name)
{
    T *found = Product->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("the product screen has no %s", name);
    return found;
}

void saveProduct(const QString &marker)
{
    Product->show();
    productControl<QAbstractButton>("sbInsert")->click();
    productControl<DBEdit>("EditName")->setText(marker);
    productControl<DBEdit>("EditType")->setText(QStringLiteral("T"));
    productControl<DBEdit>("EditUnit")->setText(QStringLiteral("U"));
    productControl<DBEdit>("EditSafeStock")->setText(QStringLiteral("1"));
    productControl<DBEdit>("EditPriceA")->setText(QStringLiteral("10"));
    const QString number = productControl<DBEdit>("EditID")->text();
    productControl<QAbstractButton>("sbPost")->click();
    if (Product->isEditingMode()) {
        productControl<QAbstractButton>("sbCancel")->click();
        return;
    }
    report("product", marker, number);
}

void saveQuotation(const QString &marker)
{
    Quote->show();
    const auto press = [](const char *name) {
        Quote->findChild<QAbstractButton *>(QLatin1String(name))->click();
    };
    TableCursor *header = Quote->session()->header();
    TableCursor *lines = Quote->session()->lines();
    press("sbInsert");
    header->FieldByName(QStringLiteral("CustomerID"))->setAsString(QStringLiteral("CU000001"));
    header->FieldByName(QStringLiteral("Memo"))->setAsString(marker);
    for (int line = 1; line <= LinesPerQuotation; ++line) {
        lines->Append();
        lines->FieldByName(QStringLiteral("ProductID"))->setAsString(QStringLiteral("PR000001"));
        lines->FieldByName(QStringLiteral("Quantity"))->setAsInteger(line);
        lines->FieldByName(QStringLiteral("Price"))->setAsInteger(100);
        lines->Post();
    }
    press("sbPost");
    if (Quote->isEditingMode()) {
        press("sbCancel");
        return;
    }
    report("quotation", marker, header->FieldByName(QStringLiteral("QuoteID"))->AsString());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString worker = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("0");
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    QApplication::setQuitOnLastWindowClosed(false);
    answerMessages();
    if (!startUp())
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 1; count == 0 || i <= count; ++i) {
        saveProduct(QStringLiteral("w%1p%2").arg(worker).arg(i));
        saveQuotation(QStringLiteral("w%1q%2").arg(worker).arg(i));
    }
    shutDown();
    return 0;
}
