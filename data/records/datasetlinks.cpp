#include "data/records/dataset.h"

#include "data/records/dataset_p.h"
#include "data/records/datasource.h"

#include <algorithm>

namespace tb {

// DataSet, part three: telling bound controls and detail sets what changed, through the
// signals of the data sources joined to the set.

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

template<typename Fn>
void DataSet::forEachSource(Fn fn) const
{
    const auto sources = d->sources;
    for (const QPointer<DataSource> &s : sources)
        if (s)
            fn(s.data());
}

void DataSet::notifyActive()
{
    if (d->disableCount > 0) {
        d->activeChangedWhileDisabled = true;
        return;
    }
    forEachSource([](DataSource *s) { emit s->activeChanged(); });
}

void DataSet::notifyDataSet()
{
    if (d->disableCount > 0)
        return;
    forEachSource([](DataSource *s) { emit s->dataSetChanged(); });
}

void DataSet::notifyRecord(Field *field)
{
    if (d->disableCount > 0)
        return;
    forEachSource([field](DataSource *s) { emit s->recordChanged(field); });
}

void DataSet::notifyEditing()
{
    if (d->disableCount > 0)
        return;
    forEachSource([](DataSource *s) { emit s->editingChanged(); });
}

void DataSet::updateControlsData()
{
    if (d->disableCount > 0)
        return;
    forEachSource([](DataSource *s) { s->writePendingEdits(); });
}

void DataSet::notifyCheckBrowseMode()
{
    if (d->disableCount > 0)
        return;
    forEachSource([](DataSource *s) { s->settleBeforeMove(); });
}

} // namespace tb
