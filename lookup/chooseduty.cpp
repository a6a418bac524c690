#include "lookup/chooseduty.h"

namespace tb {

TChooseDuty *ChooseDuty = nullptr;

TChooseDuty::TChooseDuty(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(QStringLiteral("ChooseDuty"), QStringLiteral("ChooseDuty"),
                   QStringLiteral("select * from Duty"),
                   QStringLiteral("DutyName"), parent, receiver)
{
}

} // namespace tb
