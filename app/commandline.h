#pragma once

#include <QString>

#include <optional>

namespace tb {

// Work a script asks for on the command line, done without any window:
//   tradebook --quotation-pdf QUOTEID FILE
// writes the quotation's PDF (the same as the print preview's "另存 PDF") and exits 0.
// Failures are one line on standard error and exit code 1; wrong arguments exit 2.
class CommandLine
{
public:
    static constexpr const char *QuotationPdf = "--quotation-pdf";

    // The exit code when the arguments (program name first) ask for such work, before
    // any application object exists; nothing when they ask for the application itself.
    static std::optional<int> run(int &argc, char **argv);

    // The quotation's PDF written to the file, on the database the application uses,
    // without creating a missing one. Needs a QGuiApplication. Returns the exit code and
    // puts the line to show into error.
    static int writeQuotationPdf(const QString &quoteId, const QString &file, QString *error);
};

} // namespace tb
