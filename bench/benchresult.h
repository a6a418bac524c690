#pragma once

#include <QJsonObject>
#include <QString>

#include <vector>

namespace tb {

// A round trip to a server on the office network, beyond one on this machine.
inline constexpr double LanRoundTripMs = 0.5;

// The timing of one user action and of the same work done by bare SQL, both medians.
struct OperationResult
{
    QString key;       // stable name, matches the same row across databases
    QString label;     // what the table shows
    double appMs = -1; // -1: not measured
    double bareMs = -1;
    int statements = -1; // statements (round trips to a server) the action sent
    QString bareLabel; // what the bare column measured, when it is not SQL alone
    QString note;      // "(layer; screen not built yet)" and the like
    QString error;     // the message that stopped the action, if any
    bool scaleChecked = true; // compared between database sizes
    bool reference = false;   // shown for explanation only, no target applies
    // A long operation with a progress dialog (an export of a million rows): reported as
    // items per second and the memory it took, not against a frame.
    bool longOperation = false;
    qint64 items = 0;
    double peakMb = -1;     // the process's peak resident memory during the operation
    double baselineMb = -1; // its resident memory just before

    double ratio() const { return appMs >= 0 && bareMs > 0 ? appMs / bareMs : -1; }
    // The time on the office network: each statement one more round trip of LanRoundTripMs
    // than on this machine's own socket (a file: the time as measured).
    double lanMs(bool server) const;
};

// Everything one run on one database measured.
struct RunResult
{
    QString database;
    bool server() const; // a PostgreSQL database rather than a file
    qint64 products = 0;
    int reps = 0;
    std::vector<OperationResult> operations;
    double peakRssMb = -1;
    double firstStartUpMs = -1; // the first start-up of the process, caches cold
    // Whole processes, from their start to their first window drawn (medians): the
    // application on this database, and a bare Qt window application.
    bool processStartUpTimed = false; // the probes ran (a full run)
    double processStartUpMs = -1;
    double bareProcessStartUpMs = -1;
    // For reference: a bare window with the main window's menu text.
    double menuProcessStartUpMs = -1;

    const OperationResult *find(const QString &key) const;

    QJsonObject toJson() const;
    static RunResult fromJson(const QJsonObject &json);
};

// Plain-text tables for the terminal and the README.
class BenchReport
{
public:
    // One run: each action against one frame (16 ms), with the same work done by bare
    // statements and their ratio as a reference; the process start-up against a bare Qt
    // window (1.5x); peak memory (80 MB).
    static QString runTable(const RunResult &run);
    // Two runs: each action at both sizes and the growth ratio (target 1.5).
    static QString scaleTable(const RunResult &large, const RunResult &small);
    // The targets, met or missed, in a few lines.
    static QString targets(const RunResult &large, const RunResult *small);
};

} // namespace tb
