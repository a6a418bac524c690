#include "maintenance/department.h"

#include "maintenance/codetables.h"

namespace tb {

Tdepartment *department = nullptr;

Tdepartment::Tdepartment()
    : CodeTableScreen(codeTableSetup(CodeTable::Department))
{
    Button2 = closeButton();
}

} // namespace tb
