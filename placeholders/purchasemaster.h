#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Tpurchasemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpurchasemaster();
};

extern Tpurchasemaster *purchasemaster;

} // namespace tb
