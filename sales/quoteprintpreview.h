#pragma once

#include "sales/quotedocument.h"

#include <QPrintPreviewDialog>

class QAction;
class QPrinter;

namespace tb {

// The print preview of a stored quotation (A4 portrait): from there the user prints, or
// saves the quotation as a PDF with "另存 PDF", which proposes <QuoteID>.pdf in the user's
// documents folder.
class QuotePrintPreview : public QPrintPreviewDialog
{
    Q_OBJECT
public:
    QuotePrintPreview(QuoteDocument document, QPrinter *printer, QWidget *parent);

    // Reads the quotation from the database and shows its preview modally. A quotation
    // that is no longer stored gives a message instead.
    static void preview(const QString &quoteId, QWidget *parent);

    QAction *savePdfAction() const { return m_savePdf; }
    // "另存 PDF": asks where, then writes the file.
    void savePdf();
    static QString proposedPath(const QString &quoteId);

    static const QString SavePdfCaption;    // "另存 PDF"
    static const QString PdfFilter;         // "PDF 檔案 (*.pdf)"
    static const QString NotStoredMessage;  // "找不到報價單 %1。"

private:
    QuoteDocument m_doc;
    QAction *m_savePdf;
};

} // namespace tb
