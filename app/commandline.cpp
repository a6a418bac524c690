#include "app/commandline.h"

#include "app/backupcommands.h"
#include "data/database.h"
#include "data/errors.h"
#include "sales/quotedocument.h"
#include "sales/quotepdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <exception>

namespace tb {

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int Usage = 2;

// Messages may span lines (a refused file's reason): a script reads one.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

// A script reads one line about what went wrong: Qt's own notes on the environment (no
// runtime folder, no session bus) are not for it.
void quietQtNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

int CommandLine::writeQuotationPdf(const QString &quoteId, const QString &file,
                                   QString *error)
{
    const QString alias = QString::fromLatin1(Database::DefaultAlias);
    // The default file too: a script that names a quotation wants the book that holds it,
    // never an empty one made on the way.
    if (Database::fileState(alias) != Database::FileState::Exists) {
        *error = QStringLiteral("tradebook: no database at %1").arg(shownPath(
            Database::path(alias)));
        return Failed;
    }
    try {
        const std::optional<QuoteDocument> document = QuoteDocument::read(quoteId);
        if (!document) {
            *error = QStringLiteral("tradebook: no quotation %1 in %2")
                         .arg(quoteId, shownPath(Database::path(alias)));
            return Failed;
        }
        QuotePdf::save(*document, file);
    } catch (const DatabaseError &e) {
        *error = QStringLiteral("tradebook: ") + oneLine(e.message());
        return Failed;
    } catch (const std::exception &e) {
        *error = QStringLiteral("tradebook: ") + oneLine(QString::fromUtf8(e.what()));
        return Failed;
    }
    return Done;
}

std::optional<int> CommandLine::run(int &argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], BackupCommands::Backup) == 0)
        return BackupCommands::backup(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], BackupCommands::Restore) == 0)
        return BackupCommands::restore(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], BackupCommands::ListBackups) == 0)
        return BackupCommands::listBackups(argc, argv);
    if (argc < 2 || std::strcmp(argv[1], QuotationPdf) != 0)
        return std::nullopt;
    if (argc != 4) {
        std::fprintf(stderr, "usage: tradebook %s QUOTEID FILE\n", QuotationPdf);
        return Usage;
    }
    const QString quoteId = QString::fromLocal8Bit(argv[2]);
    const QString file = QFile::decodeName(argv[3]);
    // No window is shown: the page is drawn offscreen, with or without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtNotes);
    QGuiApplication app(argc, argv);
    QString error;
    const int code = writeQuotationPdf(quoteId, file, &error);
    if (code != Done)
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return code;
}

} // namespace tb
