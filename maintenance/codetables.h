#pragma once

#include "maintenance/codetablescreen.h"

namespace tb {

enum class CodeTable { Unit, ProductType, Color, Department, Duty };

// The five code-table screens side by side: what each one shows, checks and says.
const CodeTableSetup &codeTableSetup(CodeTable table);

// Code-table screen of the Unit table.
class Tpunit : public CodeTableScreen
{
    Q_OBJECT
public:
    Tpunit();
};
extern Tpunit *punit;

// Code-table screen of the ProductType table.
class TProductType : public CodeTableScreen
{
    Q_OBJECT
public:
    TProductType();
};
extern TProductType *ProductType;

// Code-table screen of the Color table.
class TPcolor : public CodeTableScreen
{
    Q_OBJECT
public:
    TPcolor();
};
extern TPcolor *Pcolor;

// Code-table screen of the Department table.
class Tdepartment : public CodeTableScreen
{
    Q_OBJECT
public:
    Tdepartment();
};
extern Tdepartment *department;

// Code-table screen of the Duty table.
class TDuty : public CodeTableScreen
{
    Q_OBJECT
public:
    TDuty();
};
extern TDuty *Duty;

} // namespace tb
