#pragma once

#include "data/records/sourcebinding.h"

#include <functional>

namespace tb {

// Calls back whenever the record set of a data source opens or closes, moves, re-reads or
// enters or leaves editing: a button that depends on what the set shows follows it.
class DataSetWatch
{
public:
    DataSetWatch(DataSource *source, std::function<void()> changed);

private:
    SourceBinding::Reactions reactions();

    std::function<void()> m_changed;
    SourceBinding m_binding;
};

} // namespace tb
