#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the Customer maintenance screen.
class TR_customer : public QueryScreen
{
    Q_OBJECT
public:
    TR_customer();
};

extern TR_customer *R_customer;

} // namespace tb
