#include "lookup/r_duty.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/duty.h"

#include <QPushButton>

namespace tb {

TR_Duty *R_Duty = nullptr;

TR_Duty::TR_Duty()
    : WorkWindow(QStringLiteral("R_Duty"), QStringLiteral("職務查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Duty::Button2Click()
{
    hide();
    Duty->show();
}

} // namespace tb
