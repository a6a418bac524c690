#include "data/records/sourcebinding.h"

namespace tb {

SourceBinding::SourceBinding(QObject *context, Reactions reactions, EditHolder *holder)
    : m_context(context), m_reactions(std::move(reactions)), m_holder(holder)
{
}

SourceBinding::~SourceBinding()
{
    release();
}

void SourceBinding::setDataSource(DataSource *source)
{
    if (m_source == source)
        return;
    release();
    m_source = source;
    if (!source)
        return;
    const Reactions &r = m_reactions;
    if (r.activeChanged)
        m_connections.push_back(QObject::connect(source, &DataSource::activeChanged, m_context,
                                                 r.activeChanged));
    if (r.dataSetChanged)
        m_connections.push_back(QObject::connect(source, &DataSource::dataSetChanged,
                                                 m_context, r.dataSetChanged));
    if (r.recordChanged)
        m_connections.push_back(QObject::connect(source, &DataSource::recordChanged, m_context,
                                                 r.recordChanged));
    if (r.editingChanged)
        m_connections.push_back(QObject::connect(source, &DataSource::editingChanged,
                                                 m_context, r.editingChanged));
    if (m_holder)
        source->addEditHolder(m_holder);
    if (r.activeChanged)
        r.activeChanged();
    if (r.dataSetChanged)
        r.dataSetChanged();
}

DataSet *SourceBinding::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

void SourceBinding::release()
{
    for (const QMetaObject::Connection &c : m_connections)
        QObject::disconnect(c);
    m_connections.clear();
    if (m_source && m_holder)
        m_source->removeEditHolder(m_holder);
    m_source = nullptr;
}

} // namespace tb
