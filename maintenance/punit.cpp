#include "maintenance/punit.h"

#include "maintenance/codetables.h"

namespace tb {

Tpunit *punit = nullptr;

Tpunit::Tpunit()
    : CodeTableScreen(codeTableSetup(CodeTable::Unit))
{
    Button1 = closeButton();
}

} // namespace tb
