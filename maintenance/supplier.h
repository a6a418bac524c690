#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the Supplier table.
class TSupplier : public RecordScreen
{
    Q_OBJECT
public:
    explicit TSupplier();

    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TSupplier *Supplier;

} // namespace tb
