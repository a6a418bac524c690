#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Customer table.
class TCustomer : public RecordScreen
{
    Q_OBJECT
public:
    explicit TCustomer();

    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TCustomer *Customer;

} // namespace tb
