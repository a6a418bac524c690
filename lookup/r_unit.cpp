#include "lookup/r_unit.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/punit.h"

#include <QPushButton>

namespace tb {

TR_Unit *R_Unit = nullptr;

TR_Unit::TR_Unit()
    : WorkWindow(QStringLiteral("R_Unit"), QStringLiteral("單位查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Unit::Button2Click()
{
    hide();
    punit->show();
}

} // namespace tb
