#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the ProductType maintenance screen.
class TR_Type : public QueryScreen
{
    Q_OBJECT
public:
    TR_Type();
};

extern TR_Type *R_Type;

} // namespace tb
