#pragma once

#include "maintenance/codetablescreen.h"

class QPushButton;

namespace tb {

// Code-table screen of the ProductType table.
class TProductType : public CodeTableScreen
{
    Q_OBJECT
public:
    TProductType();

    QPushButton *Button2; // "結束"
};

extern TProductType *ProductType;

} // namespace tb
