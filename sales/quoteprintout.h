#pragma once

#include "sales/quotedocument.h"

#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace tb {

// A quotation laid out on paper: the company and the quotation's header on the first page,
// the line table over as many pages as it needs with its titles repeated on each, the
// totals and the memo after the last line, and "第 n 頁,共 m 頁" at the foot of every page.
// It draws on any paged device (a printer, the print preview, a PDF writer) in the page
// size, orientation and margins the device is set to.
class QuotePrintout
{
public:
    explicit QuotePrintout(QuoteDocument document);

    // Paints every page onto the device, starting a new page for each after the first;
    // returns how many there are.
    int print(QPagedPaintDevice *device) const;

    static const QString Title;         // "報價單"
    static const QString PageFooter;    // "第 %1 頁,共 %2 頁"
    static const QStringList ColumnTitles;
    // The face the page is drawn in, embedded in a PDF: Chinese text reads the same on a
    // machine without it.
    static const QString FontFamily;

    // Whole numbers with thousands separators: 1234567 gives "1,234,567".
    static QString groupThousands(qint64 value);

private:
    QuoteDocument m_doc;
};

} // namespace tb
