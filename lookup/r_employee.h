#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// Query screen of the employee maintenance screen.
class TR_employee : public QueryScreen
{
    Q_OBJECT
public:
    TR_employee();
};

extern TR_employee *R_employee;

} // namespace tb
