#include "lookup/r_supplier.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/supplier.h"

#include <QPushButton>

namespace tb {

TR_Supplier *R_Supplier = nullptr;

TR_Supplier::TR_Supplier()
    : WorkWindow(QStringLiteral("R_Supplier"), QStringLiteral("廠商查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 696, 345);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Supplier::Button2Click()
{
    hide();
    Supplier->show();
}

} // namespace tb
