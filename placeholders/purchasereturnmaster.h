#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Tpurchasereturnmaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpurchasereturnmaster();
};

extern Tpurchasereturnmaster *purchasereturnmaster;

} // namespace tb
