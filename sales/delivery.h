#pragma once

#include "sales/documentwindow.h"

namespace tb {

// The 出貨單 window: shows DeliveryMaster and DeliveryDetail.
class TDelivery : public DocumentWindow
{
    Q_OBJECT
public:
    TDelivery();
};

extern TDelivery *Delivery;

} // namespace tb
