#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the Pcolor maintenance screen.
class TR_Color : public QueryScreen
{
    Q_OBJECT
public:
    TR_Color();
};

extern TR_Color *R_Color;

} // namespace tb
