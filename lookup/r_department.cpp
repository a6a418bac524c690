#include "lookup/r_department.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/department.h"

#include <QPushButton>

namespace tb {

TR_Department *R_Department = nullptr;

TR_Department::TR_Department()
    : WorkWindow(QStringLiteral("R_Department"), QStringLiteral("部門查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_Department::Button2Click()
{
    hide();
    department->show();
}

} // namespace tb
