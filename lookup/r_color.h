#pragma once

#include "app/workwindow.h"

class QPushButton;

namespace tb {

// Query screen of the Pcolor maintenance screen.
class TR_Color : public WorkWindow
{
    Q_OBJECT
public:
    explicit TR_Color();

    QPushButton *Button2;

    // Cancel: back to the maintenance screen.
    void Button2Click();
};

extern TR_Color *R_Color;

} // namespace tb
