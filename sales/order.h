#pragma once

#include "sales/documentwindow.h"

namespace tb {

// The 訂單 window: shows OrderMaster and OrderDetail.
class TOrder : public DocumentWindow
{
    Q_OBJECT
public:
    TOrder();
};

extern TOrder *Order;

} // namespace tb
