#include "data/records/datasource.h"

#include "data/records/dataset.h"
#include "data/records/dataset_p.h"

#include <algorithm>

namespace tb {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource()
{
    if (m_dataSet) {
        auto &sources = m_dataSet->d->sources;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    }
    for (DataLink *l : m_links)
        l->m_source = nullptr;
}

DataSet *DataSource::dataSet() const
{
    return m_dataSet;
}

void DataSource::setDataSet(DataSet *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet) {
        auto &sources = m_dataSet->d->sources;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    }
    m_dataSet = dataSet;
    if (dataSet)
        dataSet->d->sources.push_back(this);
    const std::vector<DataLink *> links = m_links;
    for (DataLink *l : links) {
        l->activeChanged();
        l->dataSetChanged();
    }
}

DataLink::DataLink() = default;

DataLink::~DataLink()
{
    setDataSource(nullptr);
}

void DataLink::setDataSource(DataSource *source)
{
    if (m_source == source)
        return;
    if (m_source) {
        auto &links = m_source->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    m_source = source;
    if (source) {
        source->m_links.push_back(this);
        activeChanged();
        dataSetChanged();
    }
}

DataSet *DataLink::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

bool DataLink::active() const
{
    DataSet *ds = dataSet();
    return ds && ds->Active();
}

} // namespace tb
