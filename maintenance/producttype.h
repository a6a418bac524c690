#pragma once

#include "maintenance/recordscreen.h"

class QPushButton;

namespace tb {

// Maintenance screen of the ProductType table.
class TProductType : public RecordScreen
{
    Q_OBJECT
public:
    explicit TProductType();

    QPushButton *Button2;

    // Close: the table is closed before the screen hands back to the main window.
    void Button1Click();
};

extern TProductType *ProductType;

} // namespace tb
