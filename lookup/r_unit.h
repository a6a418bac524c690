#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the punit maintenance screen.
class TR_Unit : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Unit();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Unit *R_Unit;

} // namespace tb
