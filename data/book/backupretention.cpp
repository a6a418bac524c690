#include "data/book/backupretention.h"

#include <QSet>

#include <algorithm>

namespace tb {

namespace {

constexpr qint64 Hour = 3600;
constexpr qint64 Day = 24 * Hour;

// The month a copy belongs to, as one number.
int monthOf(const QDate &date)
{
    return date.year() * 12 + date.month() - 1;
}

// The copies the age rule keeps, oldest first.
std::vector<BackupCopy> keptByAge(const std::vector<BackupCopy> &oldestFirst,
                                  const QDateTime &now)
{
    std::vector<BackupCopy> kept;
    QSet<qint64> days;
    QSet<int> months;
    for (const BackupCopy &copy : oldestFirst) {
        const qint64 age = copy.time.secsTo(now);
        const QDate date = copy.time.toLocalTime().date();
        bool keep = false;
        if (age < Day)
            keep = true;
        else if (age < 30 * Day)
            keep = !days.contains(date.toJulianDay());
        else if (age < 365 * Day)
            keep = !months.contains(monthOf(date));
        if (keep) {
            days.insert(date.toJulianDay());
            months.insert(monthOf(date));
            kept.push_back(copy);
        }
    }
    if (!oldestFirst.empty() && (kept.empty() || kept.back().path != oldestFirst.back().path))
        kept.push_back(oldestFirst.back());
    return kept;
}

qint64 totalSize(const std::vector<BackupCopy> &copies)
{
    qint64 total = 0;
    for (const BackupCopy &copy : copies)
        total += copy.size;
    return total;
}

} // namespace

std::vector<BackupCopy> BackupRetention::expired(std::vector<BackupCopy> copies,
                                                 const QDateTime &now, qint64 budgetBytes)
{
    std::stable_sort(copies.begin(), copies.end(),
                     [](const BackupCopy &a, const BackupCopy &b) { return a.time < b.time; });
    std::vector<BackupCopy> kept = keptByAge(copies, now);
    qint64 total = totalSize(kept);
    auto firstKept = kept.begin();
    while (budgetBytes > 0 && total > budgetBytes && kept.end() - firstKept > 1) {
        total -= firstKept->size;
        ++firstKept;
    }
    QSet<QString> keptPaths;
    for (auto it = firstKept; it != kept.end(); ++it)
        keptPaths.insert(it->path);
    std::vector<BackupCopy> gone;
    for (const BackupCopy &copy : copies) {
        if (!keptPaths.contains(copy.path))
            gone.push_back(copy);
    }
    return gone;
}

} // namespace tb
