#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tb {
class DataSet;
}

namespace tb::test {

// The message of the DatabaseError the action throws, or "" when it throws none.
QString errorOf(const std::function<void()> &action);

// One field of every row, walking the set from the first row on (or from the last back).
QStringList walk(DataSet &dataSet, const QString &field, bool backwards = false);

} // namespace tb::test
