#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the Product maintenance screen.
class TR_product : public QueryScreen
{
    Q_OBJECT
public:
    TR_product();
};

extern TR_product *R_product;

} // namespace tb
