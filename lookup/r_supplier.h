#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the Supplier maintenance screen.
class TR_Supplier : public QueryScreen
{
    Q_OBJECT
public:
    TR_Supplier();
};

extern TR_Supplier *R_Supplier;

} // namespace tb
