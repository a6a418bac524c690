#pragma once

#include "maintenance/codetablescreen.h"

class QPushButton;

namespace tb {

// Code-table screen of the Color table.
class TPcolor : public CodeTableScreen
{
    Q_OBJECT
public:
    TPcolor();

    QPushButton *Button1; // "結束"
};

extern TPcolor *Pcolor;

} // namespace tb
