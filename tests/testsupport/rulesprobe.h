#pragma once

#include "data/records/dataset.h"
#include "data/records/recordrules.h"

#include <QStringList>

#include <functional>

namespace tb::test {

// Rules whose events a test writes on the spot; each event is also logged by name.
class RulesProbe : public RecordRules
{
public:
    std::function<void(DataSet &)> onNewRecord, onCalculate, onBeforePost, onBeforeDelete;
    std::function<void(Field &)> onValidate;
    QStringList log;

    void newRecord(DataSet &set) override { run("newRecord", onNewRecord, set); }
    void calculateFields(DataSet &set) override { run(nullptr, onCalculate, set); }
    void beforePost(DataSet &set) override { run("beforePost", onBeforePost, set); }
    void beforeDelete(DataSet &set) override { run("beforeDelete", onBeforeDelete, set); }
    void validateField(Field &field) override
    {
        if (onValidate)
            onValidate(field);
    }

private:
    void run(const char *name, const std::function<void(DataSet &)> &fn, DataSet &set)
    {
        if (name)
            log << QString::fromLatin1(name);
        if (fn)
            fn(set);
    }
};

} // namespace tb::test
