#include "app/commandline.h"

#include "app/backupcommands.h"
#include "app/copycommand.h"
#include "app/samplebookcommand.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "sales/quotedocument.h"
#include "sales/quotepdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace tb {

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int Usage = 2;

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

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

int printHelp(int &, char **, const QStringList &)
{
    print(stdout, CommandLine::help());
    return Done;
}

int printVersion(int &, char **, const QStringList &)
{
    print(stdout, QStringLiteral("tradebook %1\n").arg(CommandLine::version()));
    return Done;
}

int quotationPdf(int &argc, char **argv, const QStringList &values)
{
    // No window is shown: the page is drawn offscreen, with or without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtNotes);
    QGuiApplication app(argc, argv);
    // The book is only read: not even its journal mode is written.
    Database::openReadOnly(QString::fromLatin1(Database::DefaultAlias));
    QString error;
    const int code = CommandLine::writeQuotationPdf(values.at(0), values.at(1), &error);
    if (code != Done)
        print(stderr, error + QLatin1Char('\n'));
    return code;
}

int sampleBook(int &argc, char **argv, const QStringList &)
{
    QCoreApplication app(argc, argv); // no window: it runs in a terminal
    return runSampleBookCommand(app.arguments());
}

int backupBook(int &argc, char **argv, const QStringList &)
{
    return BackupCommands::backup(argc, argv);
}

int restoreBook(int &argc, char **argv, const QStringList &)
{
    return BackupCommands::restore(argc, argv);
}

int listBackups(int &argc, char **argv, const QStringList &)
{
    return BackupCommands::listBackups(argc, argv);
}

// Where a line of help starts its text; wide (CJK) characters take two columns.
int columns(const QString &text)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

QString synopsis(const CommandLine::Option &option)
{
    QString text = QString::fromLatin1(option.name);
    if (*option.arguments)
        text += QLatin1Char(' ') + QString::fromUtf8(option.arguments);
    return text;
}

const CommandLine::Option *optionNamed(const QString &name)
{
    for (const CommandLine::Option &option : CommandLine::options())
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

// One line, as a script reads it: what was wrong, then the usage.
int refuse(const QString &why)
{
    print(stderr, QStringLiteral("tradebook: %1。%2\n").arg(why, CommandLine::usage()));
    return Usage;
}

} // namespace

int CommandLine::Option::argumentCount() const
{
    return int(QString::fromUtf8(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

const std::vector<CommandLine::Option> &CommandLine::options()
{
    static const std::vector<Option> all = {
        {"--help", "", "列出這些選項後結束", printHelp},
        {"--version", "", "顯示版本後結束", printVersion},
        {QuotationPdf, "報價單號 檔案", "將報價單存成 PDF 檔 (與預覽的「另存 PDF」相同)",
         quotationPdf},
        {"--copy-database", "來源 目的",
         "將整本帳複製到空的資料庫;來源與目的是 SQLite 檔案或 postgresql:// 位址",
         runCopyCommand},
        {SampleBookOption, "檔案",
         "寫一本新的範例帳本 (商品、客戶、廠商、員工與報價單) 供試用;檔案已存在時不寫",
         sampleBook},
        {BackupCommands::Backup, "檔案",
         "把資料庫的一份檢查過的備份寫到檔案 (伺服器上的資料庫也可以)", backupBook},
        {BackupCommands::Restore, "檔案",
         "檢查檔案後用它還原資料庫,原來的資料庫保留在備份資料夾", restoreBook},
        {BackupCommands::ListBackups, "",
         "列出自動備份的時間、大小與產品、客戶、報價單筆數", listBackups},
    };
    return all;
}

QString CommandLine::version()
{
    return QStringLiteral(TRADEBOOK_VERSION);
}

QString CommandLine::usage()
{
    QStringList forms;
    for (const Option &option : options())
        forms << synopsis(option);
    return QStringLiteral("用法: tradebook [%1]").arg(forms.join(QLatin1String(" | ")));
}

QString CommandLine::help()
{
    int width = 0;
    for (const Option &option : options())
        width = std::max(width, columns(synopsis(option)));
    QString text = usage() + QStringLiteral("\n不加選項時開啟應用程式的視窗。\n");
    for (const Option &option : options()) {
        const QString form = synopsis(option);
        text += QStringLiteral("  ") + form + QString(width - columns(form) + 2, QLatin1Char(' '))
                + QString::fromUtf8(option.help) + QLatin1Char('\n');
    }
    return text;
}

int CommandLine::writeQuotationPdf(const QString &quoteId, const QString &file,
                                   QString *error)
{
    const QString alias = QString::fromLatin1(Database::DefaultAlias);
    // The default file too: a script that names a quotation wants the book that holds it,
    // never an empty one made on the way.
    const Database::FileState state = Database::fileState(alias);
    if (state == Database::FileState::Empty) {
        *error = QStringLiteral("tradebook: 資料庫檔案 %1 是空的 (0 位元組),不是帳本的資料庫。")
                     .arg(shownPath(Database::path(alias)));
        return Failed;
    }
    if (state != Database::FileState::Exists) {
        *error = QStringLiteral("tradebook: 找不到資料庫檔案 %1,請確認 TRADEBOOK_DATABASE "
                                "或設定 database/path 的路徑。")
                     .arg(shownPath(Database::path(alias)));
        return Failed;
    }
    try {
        const std::optional<QuoteDocument> document = QuoteDocument::read(quoteId);
        if (!document) {
            *error = QStringLiteral("tradebook: %2 裡沒有報價單 %1")
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
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (!argument.startsWith(QLatin1String("--")))
            continue; // Qt's own options, and their values
        const Option *option = optionNamed(argument);
        if (!option)
            return refuse(QStringLiteral("不認得的選項 %1").arg(argument));
        if (i != 1)
            return refuse(QStringLiteral("選項 %1 必須寫在最前面").arg(argument));
        if (argc - 2 != option->argumentCount())
            return refuse(QStringLiteral("%1 需要 %2 個參數: %3")
                              .arg(argument)
                              .arg(option->argumentCount())
                              .arg(synopsis(*option)));
        QStringList values;
        for (int v = 2; v < argc; ++v)
            values << QString::fromLocal8Bit(argv[v]);
        return option->run(argc, argv, values);
    }
    return std::nullopt;
}

} // namespace tb
