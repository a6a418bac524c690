#include "lookup/r_color.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/pcolor.h"

#include <QPushButton>

namespace tb {

TR_Color *R_Color = nullptr;

TR_Color::TR_Color()
    : WorkWindow(QStringLiteral("R_Color"), QStringLiteral("顏色查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Color::Button2Click()
{
    hide();
    Pcolor->show();
}

} // namespace tb
