#pragma once

#include "maintenance/codetablescreen.h"

class QPushButton;

namespace tb {

// Code-table screen of the Duty table.
class TDuty : public CodeTableScreen
{
    Q_OBJECT
public:
    TDuty();

    QPushButton *Button1; // "結束"
};

extern TDuty *Duty;

} // namespace tb
