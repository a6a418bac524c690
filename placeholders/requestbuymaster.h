#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class TRequestbuymaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    TRequestbuymaster();
};

extern TRequestbuymaster *Requestbuymaster;

} // namespace tb
