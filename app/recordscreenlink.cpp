#include "app/recordscreenlink.h"

#include "maintenance/recordscreen.h"

namespace tb {

RecordScreenLink::RecordScreenLink(std::function<RecordScreen *()> screen)
    : m_screen(std::move(screen))
{
}

QWidget *RecordScreenLink::window() const
{
    return m_screen();
}

bool RecordScreenLink::recordEditing() const
{
    const RecordScreen *screen = m_screen();
    return screen && screen->recordEditing();
}

void RecordScreenLink::postAutomaticEdit()
{
    if (RecordScreen *screen = m_screen())
        screen->postAutomaticEdit();
}

void RecordScreenLink::openAt(const QString &field, const QString &key)
{
    if (RecordScreen *screen = m_screen())
        screen->openAt(field, key);
}

} // namespace tb
