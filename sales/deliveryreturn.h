#pragma once

#include "sales/documentwindow.h"

namespace tb {

// The 出貨退回單 window: shows DeliveryReturnMaster and DeliveryReturnDetail.
class TDeliveryReturn : public DocumentWindow
{
    Q_OBJECT
public:
    TDeliveryReturn();
};

extern TDeliveryReturn *DeliveryReturn;

} // namespace tb
