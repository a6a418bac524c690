#include "maintenance/pcolor.h"

#include "maintenance/codetables.h"

namespace tb {

TPcolor *Pcolor = nullptr;

TPcolor::TPcolor()
    : CodeTableScreen(codeTableSetup(CodeTable::Color))
{
    Button1 = closeButton();
}

} // namespace tb
