#include "lookup/chooseduty.h"

namespace tb {

TChooseDuty *ChooseDuty = nullptr;

TChooseDuty::TChooseDuty(QWidget *parent)
    : ChooseDialog(QStringLiteral("ChooseDuty"), QStringLiteral("ChooseDuty"),
                   QStringLiteral("select * from Duty"), parent)
{
}

} // namespace tb
