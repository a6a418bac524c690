#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the department maintenance screen.
class TR_Department : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Department();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Department *R_Department;

} // namespace tb
