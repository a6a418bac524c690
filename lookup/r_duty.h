#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the Duty maintenance screen.
class TR_Duty : public QueryScreen
{
    Q_OBJECT
public:
    TR_Duty();
};

extern TR_Duty *R_Duty;

} // namespace tb
