#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the Product maintenance screen.
class TR_product : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_product();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_product *R_product;

} // namespace tb
