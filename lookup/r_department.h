#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the department maintenance screen.
class TR_Department : public QueryScreen
{
    Q_OBJECT
public:
    TR_Department();
};

extern TR_Department *R_Department;

} // namespace tb
