#include "testsupport/datasetprobe.h"

#include "data/records/dataset.h"
#include "data/book/errors.h"

namespace tb::test {

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return QString();
}

QStringList walk(DataSet &dataSet, const QString &field, bool backwards)
{
    QStringList seen;
    if (backwards) {
        dataSet.Last();
        while (!dataSet.Bof()) {
            seen << dataSet.FieldByName(field)->AsString();
            dataSet.Prior();
        }
    } else {
        dataSet.First();
        while (!dataSet.Eof()) {
            seen << dataSet.FieldByName(field)->AsString();
            dataSet.Next();
        }
    }
    return seen;
}

} // namespace tb::test
