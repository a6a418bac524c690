#include "data/records/dataset.h"

#include "data/records/dataset_p.h"
#include "data/records/datasource.h"

#include <algorithm>

namespace tb {

// DataSet, part three: telling bound controls and detail sets what changed.

// ---- controls -----------------------------------------------------------------------------

void DataSet::DisableControls()
{
    ++d->disableCount;
}

void DataSet::EnableControls()
{
    if (d->disableCount == 0)
        return;
    if (--d->disableCount > 0)
        return;
    if (d->activeChangedWhileDisabled) {
        d->activeChangedWhileDisabled = false;
        notifyActive();
    }
    notifyDataSet();
}

bool DataSet::ControlsDisabled() const
{
    return d->disableCount > 0;
}

void DataSet::forEachLink(const std::function<void(DataLink *)> &fn) const
{
    const auto sources = d->sources;
    for (const QPointer<DataSource> &s : sources) {
        if (!s)
            continue;
        const std::vector<DataLink *> links = s->m_links;
        for (DataLink *l : links) {
            // A link may go away while an earlier one reacts.
            if (s && std::find(s->m_links.begin(), s->m_links.end(), l) != s->m_links.end())
                fn(l);
        }
    }
}

void DataSet::notifyActive()
{
    if (d->disableCount > 0) {
        d->activeChangedWhileDisabled = true;
        return;
    }
    forEachLink([](DataLink *l) { l->activeChanged(); });
}

void DataSet::notifyDataSet()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->dataSetChanged(); });
}

void DataSet::notifyRecord(Field *field)
{
    if (d->disableCount > 0)
        return;
    forEachLink([field](DataLink *l) { l->recordChanged(field); });
}

void DataSet::notifyEditing()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->editingChanged(); });
}

void DataSet::updateControlsData()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->updateData(); });
}

void DataSet::notifyCheckBrowseMode()
{
    if (d->disableCount > 0)
        return;
    forEachLink([](DataLink *l) { l->checkBrowseMode(); });
}

} // namespace tb
