#pragma once

#include "maintenance/codetablescreen.h"

class QPushButton;

namespace tb {

// Code-table screen of the Unit table.
class Tpunit : public CodeTableScreen
{
    Q_OBJECT
public:
    Tpunit();

    QPushButton *Button1; // "結束"
};

extern Tpunit *punit;

} // namespace tb
