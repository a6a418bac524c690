#pragma once

#include "data/records/dataset.h"

#include <QPointer>
#include <QtGlobal>

namespace tb {

// Bound controls stop following a record set for as long as this lives (bulk work: a save
// that walks the lines, a renumbering); they catch up once when the last guard goes.
class DisabledControls
{
public:
    explicit DisabledControls(DataSet *set) : m_set(set)
    {
        if (m_set)
            m_set->DisableControls();
    }
    // The controls re-read the set here; a destructor must not throw, so a failure to read
    // (a server gone away) leaves them to the next move, which tells the user.
    ~DisabledControls()
    {
        if (!m_set)
            return;
        try {
            m_set->EnableControls();
        } catch (...) {
            qWarning("tradebook: controls could not follow their record set again");
        }
    }
    DisabledControls(const DisabledControls &) = delete;
    DisabledControls &operator=(const DisabledControls &) = delete;

private:
    QPointer<DataSet> m_set;
};

} // namespace tb
