#include "bench/benchmain.h"

#include "bench/benchmark.h"
#include "bench/benchresult.h"
#include "bench/datagenerator.h"
#include "data/book/pguri.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <exception>
#include <optional>

namespace tb {

namespace {

constexpr int DefaultReps = 25;

const char Usage[] =
    "usage:\n"
    "  tradebook_bench                      generate the default and the 10,000-product\n"
    "                                       databases if absent, run on both, print tables\n"
    "  tradebook_bench run [--db FILE|postgresql://...] [--reps N] [--json FILE]\n"
    "                      [--only open,navigate,product,query,list,quote,print,export,backup]\n"
    "  tradebook_bench generate [--products N] [--customers N] [--suppliers N]\n"
    "                           [--employees N] [--quotations N] --out FILE\n"
    "Databases are kept in $TRADEBOOK_BENCH_DIR (default: the user's cache folder).\n";

int usageError(const QString &message)
{
    std::fprintf(stderr, "tradebook_bench: %s\n%s", qPrintable(message), Usage);
    return 2;
}

// "--name value" pairs after the command word.
struct Options
{
    QHash<QString, QString> values;
    QString error;

    static Options parse(const QStringList &args, const QStringList &allowed)
    {
        Options o;
        for (int i = 2; i < args.size(); ++i) {
            const QString name = args[i];
            if (!allowed.contains(name)) {
                o.error = QStringLiteral("unknown option %1").arg(name);
                return o;
            }
            if (i + 1 >= args.size()) {
                o.error = QStringLiteral("%1 needs a value").arg(name);
                return o;
            }
            o.values.insert(name, args[++i]);
        }
        return o;
    }

    std::optional<qint64> number(const QString &name, qint64 fallback, QString *error) const
    {
        if (!values.contains(name))
            return fallback;
        bool ok = false;
        const qint64 n = values.value(name).toLongLong(&ok);
        if (!ok || n < 0) {
            *error = QStringLiteral("%1 needs a whole number, not '%2'")
                         .arg(name, values.value(name));
            return std::nullopt;
        }
        return n;
    }
};

constexpr int ProcessRuns = 21;

// Runs a start-up probe as a whole process and returns the time from just before its start to
// its first window drawn, as the probe reports it ("shown <ns since the epoch>").
double probeOnce(const QString &program, const QProcessEnvironment &environment)
{
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.setProgram(program);
    timespec started{};
    clock_gettime(CLOCK_REALTIME, &started);
    probe.start();
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit)
        return -1;
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("shown "))
            continue;
        const qint64 shown = line.mid(6).trimmed().toLongLong();
        const qint64 start = qint64(started.tv_sec) * 1000000000LL + started.tv_nsec;
        return double(shown - start) / 1e6;
    }
    return -1;
}

// The median of whole-process start-ups of a probe next to this program.
double processStartUp(const QString &probe, const QString &db)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TRADEBOOK_DATABASE"), db);
    const QString program = QCoreApplication::applicationDirPath() + QLatin1Char('/') + probe;
    std::vector<double> times;
    for (int i = 0; i < ProcessRuns; ++i)
        if (const double ms = probeOnce(program, environment); ms >= 0)
            times.push_back(ms);
    if (times.empty())
        return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString benchDirectory()
{
    QString dir = qEnvironmentVariable("TRADEBOOK_BENCH_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
              + QStringLiteral("/tradebook-bench");
    QDir().mkpath(dir);
    return dir;
}

benchdata::GeneratorSizes smallSizes()
{
    benchdata::GeneratorSizes s;
    s.products = 10000;
    s.customers = 1000;
    s.suppliers = 1000;
    s.employees = 100;
    s.quotations = 2000;
    return s;
}

QString databaseFor(const benchdata::GeneratorSizes &sizes)
{
    return benchDirectory() + QStringLiteral("/tradebook-%1-products.db").arg(sizes.products);
}

void ensureDatabase(const benchdata::GeneratorSizes &sizes, const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    DataGenerator(sizes).generate(path);
}

int generateCommand(const QStringList &args)
{
    const Options o = Options::parse(args, {"--products", "--customers", "--suppliers",
                                            "--employees", "--quotations", "--out"});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.values.contains("--out"))
        return usageError(QStringLiteral("generate needs --out FILE"));
    benchdata::GeneratorSizes sizes;
    QString error;
    const auto products = o.number("--products", sizes.products, &error);
    const auto customers = o.number("--customers", sizes.customers, &error);
    const auto suppliers = o.number("--suppliers", sizes.suppliers, &error);
    const auto employees = o.number("--employees", sizes.employees, &error);
    const auto quotations = o.number("--quotations", sizes.quotations, &error);
    if (!error.isEmpty())
        return usageError(error);
    sizes.products = *products;
    sizes.customers = *customers;
    sizes.suppliers = *suppliers;
    sizes.employees = *employees;
    sizes.quotations = *quotations;
    DataGenerator(sizes).generate(o.values.value("--out"));
    return 0;
}

int runCommand(const QStringList &args)
{
    const Options o = Options::parse(args, {"--db", "--reps", "--json", "--only"});
    if (!o.error.isEmpty())
        return usageError(o.error);
    QString error;
    const auto reps = o.number("--reps", DefaultReps, &error);
    if (!error.isEmpty())
        return usageError(error);
    QString db = o.values.value("--db");
    if (db.isEmpty()) {
        const benchdata::GeneratorSizes sizes;
        db = databaseFor(sizes);
        ensureDatabase(sizes, db);
    } else if (!PgUri::isUri(db) && !QFileInfo::exists(db)) {
        return usageError(QStringLiteral("no database at %1").arg(db));
    }
    std::fprintf(stderr, "Running on %s, %lld repetitions\n", qPrintable(db),
                 static_cast<long long>(*reps));
    // A file by its full path; a server by its URI.
    const QString location = PgUri::isUri(db) ? db : QFileInfo(db).absoluteFilePath();
    Benchmark benchmark(location, int(*reps));
    if (o.values.contains("--only"))
        benchmark.setOnly(o.values.value("--only").split(QLatin1Char(','), Qt::SkipEmptyParts));
    RunResult result = benchmark.run();
    // 63 whole processes: only in a full run, not for a few chosen actions.
    if (!o.values.contains("--only")) {
        result.processStartUpTimed = true;
        result.processStartUpMs =
            processStartUp(QStringLiteral("tradebook_startprobe"), location);
        result.bareProcessStartUpMs =
            processStartUp(QStringLiteral("tradebook_barewindow"), location);
        result.menuProcessStartUpMs =
            processStartUp(QStringLiteral("tradebook_menuwindow"), location);
    }
    std::printf("%s\n%s", qPrintable(BenchReport::runTable(result)),
                qPrintable(BenchReport::targets(result, nullptr)));
    std::fflush(stdout);
    if (o.values.contains("--json")) {
        QFile out(o.values.value("--json"));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return usageError(QStringLiteral("cannot write %1").arg(out.fileName()));
        out.write(QJsonDocument(result.toJson()).toJson());
    }
    return 0;
}

// Each size runs in a process of its own, so that each peak memory figure is its own.
std::optional<RunResult> runChild(const QString &db, const QString &json)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("run"), QStringLiteral("--db"), db, QStringLiteral("--reps"),
                 QString::number(DefaultReps), QStringLiteral("--json"), json});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return std::nullopt;
    QFile in(json);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return RunResult::fromJson(QJsonDocument::fromJson(in.readAll()).object());
}

int defaultCommand()
{
    const benchdata::GeneratorSizes largeSizes;
    const benchdata::GeneratorSizes small = smallSizes();
    const QString largeDb = databaseFor(largeSizes);
    const QString smallDb = databaseFor(small);
    ensureDatabase(largeSizes, largeDb);
    ensureDatabase(small, smallDb);
    const QString dir = benchDirectory();
    const auto large = runChild(largeDb, dir + QStringLiteral("/run-large.json"));
    const auto little = runChild(smallDb, dir + QStringLiteral("/run-small.json"));
    if (!large || !little) {
        std::fprintf(stderr, "tradebook_bench: a run failed\n");
        return 1;
    }
    std::printf("%s\n%s", qPrintable(BenchReport::scaleTable(*large, *little)),
                qPrintable(BenchReport::targets(*large, &*little)));
    return 0;
}

} // namespace

int benchMain(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    try {
        if (command == QLatin1String("generate")) {
            QCoreApplication app(argc, argv);
            return generateCommand(app.arguments());
        }
        if (command == QLatin1String("run")) {
            // The windows are made offscreen: the figures must not depend on a desktop.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QApplication app(argc, argv);
            return runCommand(app.arguments());
        }
        if (command.isEmpty()) {
            QCoreApplication app(argc, argv);
            return defaultCommand();
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tradebook_bench: %s\n", e.what());
        return 1;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::printf("%s", Usage);
        return 0;
    }
    return usageError(QStringLiteral("unknown command %1").arg(command));
}

} // namespace tb
