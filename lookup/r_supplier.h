#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the Supplier maintenance screen.
class TR_Supplier : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Supplier();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Supplier *R_Supplier;

} // namespace tb
