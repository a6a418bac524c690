#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace tb {

// One checked copy of the book in the backup folder.
struct BackupCopy
{
    QString path;
    QDateTime time; // when it was taken
    qint64 size = 0; // bytes
};

// Which copies to keep, by age: every copy of the last 24 hours, the first copy of each
// day for 30 days and of each month for a year, nothing older. Taking the first of a day
// or month keeps the choice stable: a copy once kept for its day stays until its day ages
// out. Over the space budget the oldest kept copies go first. The newest copy always stays,
// however old or large, so the book always has one copy to go back to.
class BackupRetention
{
public:
    // The copies the rule lets go, oldest first. budgetBytes <= 0: no space budget.
    static std::vector<BackupCopy> expired(std::vector<BackupCopy> copies, const QDateTime &now,
                                           qint64 budgetBytes);
};

} // namespace tb
