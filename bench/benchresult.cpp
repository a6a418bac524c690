#include "bench/benchresult.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>

namespace tb {

namespace {

constexpr double FrameMs = 16.0;          // every user action within one frame
constexpr double ScaleTarget = 1.5;       // flat from the small to the large database
constexpr double ProcessStartUpTarget = 1.5; // whole process, against a bare Qt window
constexpr double MemoryTargetMb = 80.0;

QString ms(double value)
{
    if (value < 0)
        return QStringLiteral("-");
    if (value < 1)
        return QString::number(value, 'f', 3);
    if (value < 100)
        return QString::number(value, 'f', 2);
    return QString::number(value, 'f', 0);
}

QString ratioText(double ratio)
{
    return ratio < 0 ? QStringLiteral("-") : QString::number(ratio, 'f', 2);
}

// Pads to a width counted in terminal columns (a Chinese character takes two).
QString pad(const QString &text, int columns, bool right = false)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    const QString fill(std::max(0, columns - width), QLatin1Char(' '));
    return right ? fill + text : text + fill;
}

QString frameVerdict(double appMs)
{
    return appMs <= FrameMs ? QStringLiteral("ok <= 16 ms") : QStringLiteral("MISSED > 16 ms");
}

// A long operation is judged by its pace and its memory, not by a frame.
QString longVerdict(const OperationResult &op)
{
    const double perSecond = op.appMs > 0 ? double(op.items) * 1000.0 / op.appMs : -1;
    return QStringLiteral("(long operation) %1 rows/s; peak %2 MB, %3 MB above the %4 MB "
                          "before")
        .arg(QString::number(perSecond, 'f', 0), QString::number(op.peakMb, 'f', 1),
             QString::number(op.peakMb - op.baselineMb, 'f', 1),
             QString::number(op.baselineMb, 'f', 1));
}

double processRatio(const RunResult &run)
{
    return run.processStartUpMs > 0 && run.bareProcessStartUpMs > 0
        ? run.processStartUpMs / run.bareProcessStartUpMs : -1;
}

} // namespace

double OperationResult::lanMs(bool server) const
{
    if (appMs < 0 || !server)
        return appMs;
    return appMs + std::max(0, statements) * LanRoundTripMs;
}

bool RunResult::server() const
{
    return database.startsWith(QLatin1String("postgres"), Qt::CaseInsensitive);
}

const OperationResult *RunResult::find(const QString &key) const
{
    for (const OperationResult &op : operations)
        if (op.key == key)
            return &op;
    return nullptr;
}

QJsonObject RunResult::toJson() const
{
    QJsonArray ops;
    for (const OperationResult &op : operations)
        ops.append(QJsonObject{{"key", op.key},
                               {"label", op.label},
                               {"appMs", op.appMs},
                               {"bareMs", op.bareMs},
                               {"statements", op.statements},
                               {"bareLabel", op.bareLabel},
                               {"note", op.note},
                               {"error", op.error},
                               {"scaleChecked", op.scaleChecked},
                               {"reference", op.reference},
                               {"longOperation", op.longOperation},
                               {"items", double(op.items)},
                               {"peakMb", op.peakMb},
                               {"baselineMb", op.baselineMb}});
    return {{"database", database},
            {"products", double(products)},
            {"reps", reps},
            {"peakRssMb", peakRssMb},
            {"firstStartUpMs", firstStartUpMs},
            {"processStartUpMs", processStartUpMs},
            {"bareProcessStartUpMs", bareProcessStartUpMs},
            {"menuProcessStartUpMs", menuProcessStartUpMs},
            {"processStartUpTimed", processStartUpTimed},
            {"operations", ops}};
}

RunResult RunResult::fromJson(const QJsonObject &json)
{
    RunResult run;
    run.database = json.value("database").toString();
    run.products = qint64(json.value("products").toDouble());
    run.reps = json.value("reps").toInt();
    run.peakRssMb = json.value("peakRssMb").toDouble(-1);
    run.firstStartUpMs = json.value("firstStartUpMs").toDouble(-1);
    run.processStartUpMs = json.value("processStartUpMs").toDouble(-1);
    run.bareProcessStartUpMs = json.value("bareProcessStartUpMs").toDouble(-1);
    run.menuProcessStartUpMs = json.value("menuProcessStartUpMs").toDouble(-1);
    run.processStartUpTimed = json.value("processStartUpTimed").toBool();
    for (const QJsonValue &v : json.value("operations").toArray()) {
        const QJsonObject o = v.toObject();
        OperationResult op;
        op.key = o.value("key").toString();
        op.label = o.value("label").toString();
        op.appMs = o.value("appMs").toDouble(-1);
        op.bareMs = o.value("bareMs").toDouble(-1);
        op.statements = o.value("statements").toInt(-1);
        op.bareLabel = o.value("bareLabel").toString();
        op.note = o.value("note").toString();
        op.error = o.value("error").toString();
        op.scaleChecked = o.value("scaleChecked").toBool(true);
        op.reference = o.value("reference").toBool(false);
        op.longOperation = o.value("longOperation").toBool(false);
        op.items = qint64(o.value("items").toDouble());
        op.peakMb = o.value("peakMb").toDouble(-1);
        op.baselineMb = o.value("baselineMb").toDouble(-1);
        run.operations.push_back(op);
    }
    return run;
}

QString BenchReport::runTable(const RunResult &run)
{
    QStringList lines;
    lines << QStringLiteral("Database: %1 (%2 products), median of %3 repetitions, ms")
                 .arg(run.database)
                 .arg(run.products)
                 .arg(run.reps);
    // On a server the verdict is on the time the office network would add.
    const bool server = run.server();
    lines << pad(QStringLiteral("action"), 52) + pad(QStringLiteral("app"), 10, true)
                 + pad(QStringLiteral("stmts"), 7, true)
                 + (server ? pad(QStringLiteral("on LAN"), 9, true) : QString())
                 + pad(QStringLiteral("bare"), 10, true) + pad(QStringLiteral("ratio"), 8, true)
                 + QStringLiteral("  verdict");
    QStringList notes;
    for (const OperationResult &op : run.operations) {
        QString verdict;
        if (!op.error.isEmpty())
            verdict = QStringLiteral("FAILED");
        else if (op.reference)
            verdict = QStringLiteral("(reference)");
        else if (op.longOperation && op.appMs >= 0)
            verdict = longVerdict(op);
        else if (op.appMs >= 0)
            verdict = frameVerdict(op.lanMs(server));
        QString label = op.label;
        if (!op.note.isEmpty())
            label += QStringLiteral(" *");
        const QString statements =
            op.statements < 0 ? QStringLiteral("-") : QString::number(op.statements);
        lines << pad(label, 52) + pad(ms(op.appMs), 10, true) + pad(statements, 7, true)
                     + (server ? pad(ms(op.lanMs(server)), 9, true) : QString())
                     + pad(ms(op.bareMs), 10, true) + pad(ratioText(op.ratio()), 8, true)
                     + QStringLiteral("  ") + verdict;
        if (!op.bareLabel.isEmpty())
            notes << QStringLiteral("  %1: bare = %2").arg(op.label, op.bareLabel);
        if (!op.note.isEmpty())
            notes << QStringLiteral("  * %1: %2").arg(op.label, op.note);
        if (!op.error.isEmpty())
            notes << QStringLiteral("  ! %1: %2").arg(op.label, op.error);
    }
    lines << QStringLiteral("First start-up of the process (cold): %1 ms").arg(ms(run.firstStartUpMs));
    if (processRatio(run) >= 0)
        lines << QStringLiteral("Whole process to the main window drawn: %1 ms; a bare Qt window "
                                "application: %2 ms; ratio %3 (target <= 1.5x): %4")
                     .arg(ms(run.processStartUpMs), ms(run.bareProcessStartUpMs),
                          ratioText(processRatio(run)),
                          processRatio(run) <= ProcessStartUpTarget ? QStringLiteral("ok")
                                                                    : QStringLiteral("MISSED"));
    else if (run.processStartUpTimed)
        lines << QStringLiteral("Whole process to the main window drawn: FAILED (a start-up "
                                "probe did not report)");
    if (processRatio(run) >= 0 && run.menuProcessStartUpMs > 0)
        lines << QStringLiteral("  for reference, a bare window with the main window's menu text "
                                "(fonts set up, CJK face loaded): %1 ms; ratio %2")
                     .arg(ms(run.menuProcessStartUpMs),
                          ratioText(run.processStartUpMs / run.menuProcessStartUpMs));
    lines << QStringLiteral("Peak resident memory: %1 MB (target < %2 MB)")
                 .arg(QString::number(run.peakRssMb, 'f', 1))
                 .arg(MemoryTargetMb);
    if (server)
        notes.prepend(QStringLiteral("  on LAN: the time plus %1 ms for each statement, a round "
                                     "trip to a server on the office network")
                          .arg(LanRoundTripMs));
    if (!notes.isEmpty())
        lines << QStringLiteral("Notes:") << notes;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString BenchReport::scaleTable(const RunResult &large, const RunResult &small)
{
    QStringList lines;
    lines << QStringLiteral("Scale: %1 products against %2 products (app medians, ms)")
                 .arg(large.products)
                 .arg(small.products);
    lines << pad(QStringLiteral("action"), 52) + pad(QStringLiteral("large"), 10, true)
                 + pad(QStringLiteral("small"), 10, true) + pad(QStringLiteral("growth"), 8, true)
                 + QStringLiteral("  target");
    for (const OperationResult &op : large.operations) {
        const OperationResult *other = small.find(op.key);
        if (!other || op.reference)
            continue;
        const double growth = op.appMs >= 0 && other->appMs > 0 ? op.appMs / other->appMs : -1;
        QString verdict;
        if (op.longOperation)
            verdict = QStringLiteral("(long operation: grows with its rows)");
        else if (growth >= 0 && op.scaleChecked)
            verdict = growth <= ScaleTarget ? QStringLiteral("ok <= 1.5")
                                            : QStringLiteral("MISSED > 1.5");
        lines << pad(op.label, 52) + pad(ms(op.appMs), 10, true) + pad(ms(other->appMs), 10, true)
                     + pad(ratioText(growth), 8, true) + QStringLiteral("  ") + verdict;
    }
    lines << QStringLiteral("Peak resident memory: %1 MB against %2 MB")
                 .arg(QString::number(large.peakRssMb, 'f', 1),
                      QString::number(small.peakRssMb, 'f', 1));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString BenchReport::targets(const RunResult &large, const RunResult *small)
{
    QStringList missed, failed;
    int checked = 0;
    for (const OperationResult &op : large.operations) {
        if (!op.error.isEmpty()) {
            failed << op.label;
            continue;
        }
        if (op.appMs < 0 || op.reference || op.longOperation)
            continue;
        ++checked;
        if (op.lanMs(large.server()) > FrameMs)
            missed << QStringLiteral("%1 (%2 ms)").arg(op.label, ms(op.lanMs(large.server())));
        if (small) {
            const OperationResult *other = small->find(op.key);
            if (other && other->appMs > 0 && op.scaleChecked
                && op.appMs / other->appMs > ScaleTarget)
                missed << QStringLiteral("%1 grows %2x with the table size")
                              .arg(op.label, ratioText(op.appMs / other->appMs));
        }
    }
    if (large.peakRssMb >= MemoryTargetMb)
        missed << QStringLiteral("peak memory %1 MB").arg(large.peakRssMb, 0, 'f', 1);
    if (processRatio(large) > ProcessStartUpTarget)
        missed << QStringLiteral("whole-process start-up %1x a bare Qt window")
                      .arg(ratioText(processRatio(large)));
    if (large.processStartUpTimed && processRatio(large) < 0)
        failed << QStringLiteral("whole-process start-up (a probe did not report)");
    QStringList lines;
    lines << QStringLiteral("Targets: %1 actions checked; %2 missed; %3 failed.")
                 .arg(checked)
                 .arg(missed.size())
                 .arg(failed.size());
    for (const QString &m : missed)
        lines << QStringLiteral("  missed: ") + m;
    for (const QString &f : failed)
        lines << QStringLiteral("  failed: ") + f;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace tb
