#include "sales/quotepdf.h"

#include "sales/pdftextmap.h"
#include "sales/quotedocument.h"
#include "sales/quoteprintout.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>

#include <stdexcept>

namespace tb {

const QString QuotePdf::CannotWriteMessage = QStringLiteral("無法寫入檔案 %1:\n%2");

namespace {

constexpr int Resolution = 600; // dots per inch of the page's coordinates

[[noreturn]] void cannotWrite(const QString &path, const QString &reason)
{
    throw std::runtime_error(QuotePdf::CannotWriteMessage
                                 .arg(QDir::toNativeSeparators(path), reason)
                                 .toStdString());
}

} // namespace

QPageLayout QuotePdf::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QByteArray QuotePdf::render(const QuoteDocument &document)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(pageLayout());
        writer.setResolution(Resolution);
        writer.setTitle(QuotePrintout::Title + QLatin1Char(' ') + document.quoteId);
        writer.setCreator(QStringLiteral("tradebook"));
        QuotePrintout(document).print(&writer);
    } // the writer finishes the file as it goes
    static const PdfTextMap textMap(QRawFont::fromFont(QFont(QuotePrintout::FontFamily)));
    return textMap.corrected(pdf);
}

void QuotePdf::save(const QuoteDocument &document, const QString &path)
{
    const QByteArray pdf = render(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(path, file.errorString());
    if (file.write(pdf) != pdf.size() || !file.commit())
        cannotWrite(path, file.errorString());
}

} // namespace tb
