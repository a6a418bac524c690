#include "sales/quoteprintpreview.h"

#include "controls/guard.h"
#include "controls/savefiledialog.h"
#include "sales/quotepdf.h"
#include "sales/quoteprintout.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QToolBar>

#include <stdexcept>

namespace tb {

const QString QuotePrintPreview::SavePdfCaption = QStringLiteral("另存 PDF");
const QString QuotePrintPreview::PdfFilter = QStringLiteral("PDF 檔案 (*.pdf)");
const QString QuotePrintPreview::NotStoredMessage = QStringLiteral("找不到報價單 %1。");

QuotePrintPreview::QuotePrintPreview(QuoteDocument document, QPrinter *printer,
                                     QWidget *parent)
    : QPrintPreviewDialog(printer, parent), m_doc(std::move(document))
{
    setObjectName(QStringLiteral("QuotePrintPreview"));
    setWindowTitle(QuotePrintout::Title + QLatin1Char(' ') + m_doc.quoteId);
    m_savePdf = new QAction(SavePdfCaption, this);
    m_savePdf->setObjectName(QStringLiteral("actionSavePdf"));
    if (auto *toolBar = findChild<QToolBar *>()) {
        toolBar->addSeparator();
        toolBar->addAction(m_savePdf);
        if (QWidget *button = toolBar->widgetForAction(m_savePdf))
            button->setObjectName(QStringLiteral("SavePdfButton"));
    }
    connectGuarded(m_savePdf, &QAction::triggered, this, [this] { savePdf(); });
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) {
        runGuarded([&] { QuotePrintout(m_doc).print(target); });
    });
}

void QuotePrintPreview::preview(const QString &quoteId, QWidget *parent)
{
    std::optional<QuoteDocument> document = QuoteDocument::read(quoteId);
    if (!document)
        throw std::runtime_error(NotStoredMessage.arg(quoteId).toStdString());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QuotePdf::pageLayout());
    printer.setDocName(QuotePrintout::Title + QLatin1Char(' ') + quoteId);
    QuotePrintPreview dialog(std::move(*document), &printer, parent);
    dialog.exec();
}

QString QuotePrintPreview::proposedPath(const QString &quoteId)
{
    return QDir(documentsFolder()).filePath(quoteId + QStringLiteral(".pdf"));
}

void QuotePrintPreview::savePdf()
{
    const QString path =
        askSaveFile(this, QStringLiteral("SavePdfDialog"), SavePdfCaption, PdfFilter,
                    QStringLiteral("pdf"), QFileInfo(proposedPath(m_doc.quoteId)).fileName());
    if (!path.isEmpty())
        QuotePdf::save(m_doc, path);
}

} // namespace tb
