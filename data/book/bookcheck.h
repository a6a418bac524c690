#pragma once

#include <QString>

#include <mutex>

class QSqlDatabase;

namespace tb {

// A quick check of a book file for damage: SQLite's quick_check (every page and every tree
// of the file, without comparing the indexes with their tables), on a read-only connection
// of its own, so that it can run in a worker thread beside the application's connection
// and check any copy of a book. It never writes to the file.
class BookCheck
{
public:
    enum class Outcome { Sound, Damaged, NotChecked };
    struct Result
    {
        Outcome outcome = Outcome::NotChecked;
        // For a damaged book: the sentence naming the file and saying to restore a copy
        // from the backups, with the engine's report below it. Why the check could not
        // run, otherwise.
        QString message;
    };

    // Checks the file; returns when done, or when interrupt() stopped it (NotChecked).
    Result run(const QString &path);
    // Stops a run in progress, or the next one, from any thread: the application does not
    // wait for the check of a large book to end before it can close.
    void interrupt();

private:
    Result check(QSqlDatabase &db, const QString &path);
    bool startChecking(const QSqlDatabase &db);
    void stopChecking();

    std::mutex m_lock;
    void *m_engine = nullptr; // the running check's engine connection
    bool m_interrupted = false;
};

} // namespace tb
