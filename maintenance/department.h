#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Department table.
class Tdepartment : public RecordScreen
{
    Q_OBJECT
public:
    explicit Tdepartment();

    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern Tdepartment *department;

} // namespace tb
