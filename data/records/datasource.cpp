#include "data/records/datasource.h"

#include "data/records/dataset.h"

#include <algorithm>

namespace tb {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource()
{
    if (m_dataSet)
        m_dataSet->removeSource(this);
}

DataSet *DataSource::dataSet() const
{
    return m_dataSet;
}

void DataSource::setDataSet(DataSet *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeSource(this);
    m_dataSet = dataSet;
    if (dataSet)
        dataSet->addSource(this);
    emit activeChanged();
    emit dataSetChanged();
}

void DataSource::addEditHolder(EditHolder *holder)
{
    if (holder && std::find(m_holders.begin(), m_holders.end(), holder) == m_holders.end())
        m_holders.push_back(holder);
}

void DataSource::removeEditHolder(EditHolder *holder)
{
    m_holders.erase(std::remove(m_holders.begin(), m_holders.end(), holder), m_holders.end());
}

// A holder may go away while an earlier one writes (a control closing its window).
void DataSource::writePendingEdits()
{
    const std::vector<EditHolder *> holders = m_holders;
    for (EditHolder *h : holders)
        if (std::find(m_holders.begin(), m_holders.end(), h) != m_holders.end())
            h->writePendingEdit();
}

void DataSource::settleBeforeMove()
{
    const std::vector<EditHolder *> holders = m_holders;
    for (EditHolder *h : holders)
        if (std::find(m_holders.begin(), m_holders.end(), h) != m_holders.end())
            h->settleBeforeMove();
}

} // namespace tb
