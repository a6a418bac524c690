#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the ProductType maintenance screen.
class TR_Type : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Type();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Type *R_Type;

} // namespace tb
