#include "lookup/r_customer.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/customer.h"

#include <QPushButton>

namespace tb {

TR_customer *R_customer = nullptr;

TR_customer::TR_customer()
    : WorkWindow(QStringLiteral("R_customer"), QStringLiteral("客戶查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 696, 345);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_customer::Button2Click()
{
    hide();
    Customer->show();
}

} // namespace tb
