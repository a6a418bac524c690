#include "controls/datasetwatch.h"

namespace tb {

DataSetWatch::DataSetWatch(DataSource *source, std::function<void()> changed)
    : m_changed(std::move(changed))
{
    setDataSource(source);
}

void DataSetWatch::activeChanged()
{
    m_changed();
}

void DataSetWatch::dataSetChanged()
{
    m_changed();
}

void DataSetWatch::editingChanged()
{
    m_changed();
}

} // namespace tb
