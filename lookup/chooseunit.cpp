#include "lookup/chooseunit.h"

namespace tb {

TChooseUnit *ChooseUnit = nullptr;

TChooseUnit::TChooseUnit(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(QStringLiteral("ChooseUnit"), QStringLiteral("單位"),
                   QStringLiteral("select * from Unit"),
                   QStringLiteral("UnitName"), parent, receiver)
{
}

} // namespace tb
