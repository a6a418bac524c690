#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the employee maintenance screen.
class TR_employee : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_employee();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_employee *R_employee;

} // namespace tb
