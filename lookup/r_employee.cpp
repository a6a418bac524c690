#include "lookup/r_employee.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "maintenance/employee.h"

#include <QPushButton>

namespace tb {

TR_employee *R_employee = nullptr;

TR_employee::TR_employee()
    : WorkWindow(QStringLiteral("R_employee"), QStringLiteral("員工查詢"),
                 Frame::NoCaptionButtons)
{
    placeWindow(this, 200, 200, 696, 345);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button2Click(); });
}

void TR_employee::Button2Click()
{
    hide();
    employee->show();
}

} // namespace tb
