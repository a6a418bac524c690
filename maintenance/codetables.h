#pragma once

#include "maintenance/codetablescreen.h"

namespace tb {

enum class CodeTable { Unit, ProductType, Color, Department, Duty };

// The five code-table screens side by side: what each one shows, checks and says.
const CodeTableSetup &codeTableSetup(CodeTable table);

} // namespace tb
