#pragma once

#include "data/records/datasource.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace tb {

// One control's (or detail set's) hold on a data source: it connects the reactions given
// at construction to the source's signals and registers the edit holder, and lets go of
// both when the source changes, when the source goes away, or when the binding goes.
// Attaching to a source runs activeChanged and dataSetChanged once, so that the control
// shows what the new source holds.
class SourceBinding
{
public:
    struct Reactions
    {
        std::function<void()> activeChanged;
        std::function<void()> dataSetChanged;
        std::function<void(Field *)> recordChanged;
        std::function<void()> editingChanged;
    };

    // context: the object whose lifetime the reactions depend on (the control itself).
    SourceBinding(QObject *context, Reactions reactions, EditHolder *holder = nullptr);
    ~SourceBinding();
    SourceBinding(const SourceBinding &) = delete;
    SourceBinding &operator=(const SourceBinding &) = delete;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    DataSet *dataSet() const;

private:
    void release();

    QObject *m_context;
    Reactions m_reactions;
    EditHolder *m_holder;
    QPointer<DataSource> m_source;
    std::vector<QMetaObject::Connection> m_connections;
};

} // namespace tb
