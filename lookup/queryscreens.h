#pragma once

#include "lookup/queryscreen.h"

namespace tb {

// The nine query screens: one class and one instance each, made from one row of the table
// in queryscreens.cpp.

// Query screen of the product table.
class TR_product : public QueryScreen
{
    Q_OBJECT
public:
    TR_product();
};
extern TR_product *R_product;

// Query screen of the customer table.
class TR_customer : public QueryScreen
{
    Q_OBJECT
public:
    TR_customer();
};
extern TR_customer *R_customer;

// Query screen of the supplier table.
class TR_Supplier : public QueryScreen
{
    Q_OBJECT
public:
    TR_Supplier();
};
extern TR_Supplier *R_Supplier;

// Query screen of the employee table.
class TR_employee : public QueryScreen
{
    Q_OBJECT
public:
    TR_employee();
};
extern TR_employee *R_employee;

// Query screen of the unit table.
class TR_Unit : public QueryScreen
{
    Q_OBJECT
public:
    TR_Unit();
};
extern TR_Unit *R_Unit;

// Query screen of the product type table.
class TR_Type : public QueryScreen
{
    Q_OBJECT
public:
    TR_Type();
};
extern TR_Type *R_Type;

// Query screen of the colour table.
class TR_Color : public QueryScreen
{
    Q_OBJECT
public:
    TR_Color();
};
extern TR_Color *R_Color;

// Query screen of the department table.
class TR_Department : public QueryScreen
{
    Q_OBJECT
public:
    TR_Department();
};
extern TR_Department *R_Department;

// Query screen of the duty table.
class TR_Duty : public QueryScreen
{
    Q_OBJECT
public:
    TR_Duty();
};
extern TR_Duty *R_Duty;

} // namespace tb
