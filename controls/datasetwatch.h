#pragma once

#include "data/records/datasource.h"

#include <functional>

namespace tb {

// Calls back whenever the record set of a data source opens or closes, moves, re-reads or
// enters or leaves editing: a button that depends on what the set shows follows it.
class DataSetWatch : public DataLink
{
public:
    DataSetWatch(DataSource *source, std::function<void()> changed);

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void editingChanged() override;

private:
    std::function<void()> m_changed;
};

} // namespace tb
