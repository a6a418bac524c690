#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the Customer maintenance screen.
class TR_customer : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_customer();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_customer *R_customer;

} // namespace tb
