#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Duty table.
class TDuty : public RecordScreen
{
    Q_OBJECT
public:
    explicit TDuty();

    QPushButton *Button1;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TDuty *Duty;

} // namespace tb
