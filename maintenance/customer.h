#pragma once

#include "maintenance/partnerscreen.h"

namespace tb {

// Maintenance screen of the Customer table.
class TCustomer : public PartnerScreen
{
    Q_OBJECT
public:
    TCustomer();
};

extern TCustomer *Customer;

} // namespace tb
