#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the Duty maintenance screen.
class TR_Duty : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Duty();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Duty *R_Duty;

} // namespace tb
