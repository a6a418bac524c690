#pragma once

#include "lookup/recordscreenaccess.h"

#include <functional>
#include <memory>

namespace tb {

class RecordScreen;

// A query screen's way to its maintenance screen, looked up each time it is used: the
// maintenance screens may be made again (tests do) while the query screen stays.
class RecordScreenLink : public RecordScreenAccess
{
public:
    explicit RecordScreenLink(std::function<RecordScreen *()> screen);

    QWidget *window() const override;
    bool recordEditing() const override;
    void postAutomaticEdit() override;
    void openAt(const QString &field, const QString &key) override;

private:
    std::function<RecordScreen *()> m_screen;
};

// The link to the screen the instance holds whenever it is used.
template<typename Screen>
std::unique_ptr<RecordScreenAccess> linkTo(Screen *&instance)
{
    return std::make_unique<RecordScreenLink>([&instance]() -> RecordScreen * {
        return instance;
    });
}

} // namespace tb
