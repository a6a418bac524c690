#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Unit table.
class Tpunit : public RecordScreen
{
    Q_OBJECT
public:
    explicit Tpunit();

    QPushButton *Button1;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern Tpunit *punit;

} // namespace tb
