#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Color table.
class TPcolor : public RecordScreen
{
    Q_OBJECT
public:
    explicit TPcolor();

    QPushButton *Button1;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TPcolor *Pcolor;

} // namespace tb
