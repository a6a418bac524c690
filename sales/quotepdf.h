#pragma once

#include <QByteArray>
#include <QString>

class QPageLayout;

namespace tb {

struct QuoteDocument;

// A quotation as a PDF file: A4 portrait, its fonts embedded, its text readable by a
// reader's search and copy. The print preview's "另存 PDF" and the command line write the
// same bytes.
class QuotePdf
{
public:
    static QPageLayout pageLayout(); // A4 portrait, 15 mm margins

    static QByteArray render(const QuoteDocument &document);
    // Writes the file whole or not at all: an existing file is replaced only once the new
    // one is complete. Throws std::runtime_error with the reason (in the user's language)
    // when it cannot be written.
    static void save(const QuoteDocument &document, const QString &path);

    static const QString CannotWriteMessage; // "無法寫入檔案 %1:\n%2"
};

} // namespace tb
