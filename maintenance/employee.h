#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Employee table.
class Temployee : public RecordScreen
{
    Q_OBJECT
public:
    explicit Temployee();

    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button2Click();
};

extern Temployee *employee;

} // namespace tb
