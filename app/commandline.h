#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tb {

// Work a script asks for on the command line, done without any window and without a
// display. Each option is one row of options(): its name, the arguments it takes, one line
// of help, and the function that does the work (it makes the application object it needs).
//   tradebook --help | --version
//   tradebook --quotation-pdf QUOTEID FILE
//   tradebook --copy-database FROM TO
// Failures are one message on standard error and exit code 1; an unknown option or wrong
// arguments print the usage and exit 2.
class CommandLine
{
public:
    // argc and argv as main() has them; values are the option's arguments, in order.
    using Handler = int (*)(int &argc, char **argv, const QStringList &values);

    struct Option
    {
        const char *name;      // "--quotation-pdf"
        const char *arguments; // "報價單號 檔案", as the help and the usage show them
        const char *help;      // one line
        Handler run;

        int argumentCount() const;
    };

    static constexpr const char *QuotationPdf = "--quotation-pdf";

    static const std::vector<Option> &options();
    // The version of the build, as CMake's project() names it ("0.1").
    static QString version();

    // The exit code when the arguments (program name first) ask for such work, or name an
    // option nobody knows, before any application object exists; nothing when they ask
    // for the application itself. Arguments with one dash are Qt's own (-platform, -style).
    static std::optional<int> run(int &argc, char **argv);

    // "用法: tradebook [--help | --version | ...]": one line.
    static QString usage();
    // The usage, then one line for each option.
    static QString help();

    // The quotation's PDF written to the file, on the database the application uses,
    // without creating a missing one. Needs a QGuiApplication. Returns the exit code and
    // puts the line to show into error.
    static int writeQuotationPdf(const QString &quoteId, const QString &file, QString *error);
};

} // namespace tb
