#include "maintenance/duty.h"

#include "maintenance/codetables.h"

namespace tb {

TDuty *Duty = nullptr;

TDuty::TDuty()
    : CodeTableScreen(codeTableSetup(CodeTable::Duty))
{
    Button1 = closeButton();
}

} // namespace tb
