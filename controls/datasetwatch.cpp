#include "controls/datasetwatch.h"

namespace tb {

DataSetWatch::DataSetWatch(DataSource *source, std::function<void()> changed)
    : m_changed(std::move(changed)), m_binding(source, reactions())
{
    m_binding.setDataSource(source);
}

SourceBinding::Reactions DataSetWatch::reactions()
{
    SourceBinding::Reactions r;
    r.activeChanged = [this] { m_changed(); };
    r.dataSetChanged = [this] { m_changed(); };
    r.editingChanged = [this] { m_changed(); };
    return r;
}

} // namespace tb
