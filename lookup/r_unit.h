#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the punit maintenance screen.
class TR_Unit : public QueryScreen
{
    Q_OBJECT
public:
    TR_Unit();
};

extern TR_Unit *R_Unit;

} // namespace tb
