#include "lookup/r_product.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/product.h"

#include <QPushButton>

namespace tb {

TR_product *R_product = nullptr;

TR_product::TR_product()
    : WorkWindow(QStringLiteral("R_product"), QStringLiteral("商品查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 696, 345);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_product::Button2Click()
{
    hide();
    Product->show();
}

} // namespace tb
