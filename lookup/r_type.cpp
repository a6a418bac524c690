#include "lookup/r_type.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/producttype.h"

#include <QPushButton>

namespace tb {

TR_Type *R_Type = nullptr;

TR_Type::TR_Type()
    : WorkWindow(QStringLiteral("R_Type"), QStringLiteral("類別查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Type::Button2Click()
{
    hide();
    ProductType->show();
}

} // namespace tb
