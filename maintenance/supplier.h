#pragma once

#include "maintenance/partnerscreen.h"

namespace tb {

// Maintenance screen of the Supplier table: the customer screen's twin, with a shorter
// list of required boxes.
class TSupplier : public PartnerScreen
{
    Q_OBJECT
public:
    TSupplier();
};

extern TSupplier *Supplier;

} // namespace tb
