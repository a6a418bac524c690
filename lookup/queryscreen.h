#pragma once

#include "controls/workwindow.h"

#include <functional>

class QPushButton;

namespace tb {

// What every query screen shares: its frame (no caption-bar buttons, at (200, 200), large
// for the master tables, small for the code tables) and "取消", which leaves it for its
// maintenance screen.
class QueryScreen : public WorkWindow
{
    Q_OBJECT
public:
    enum class Size { Large, Small };

    // The maintenance screen is looked up when needed: it may be created after this one.
    QueryScreen(const QString &name, const QString &caption, Size size,
                std::function<QWidget *()> maintenanceScreen);

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();

private:
    std::function<QWidget *()> m_maintenanceScreen;
};

} // namespace tb
