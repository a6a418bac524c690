#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Tbuymaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tbuymaster();
};

extern Tbuymaster *buymaster;

} // namespace tb
