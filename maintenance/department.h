#pragma once

#include "maintenance/codetablescreen.h"

class QPushButton;

namespace tb {

// Code-table screen of the Department table.
class Tdepartment : public CodeTableScreen
{
    Q_OBJECT
public:
    Tdepartment();

    QPushButton *Button2; // "結束"
};

extern Tdepartment *department;

} // namespace tb
