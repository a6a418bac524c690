#include "lookup/chooseunit.h"

namespace tb {

TChooseUnit *ChooseUnit = nullptr;

TChooseUnit::TChooseUnit(QWidget *parent)
    : ChooseDialog(QStringLiteral("ChooseUnit"), QStringLiteral("單位"),
                   QStringLiteral("select * from Unit"), parent)
{
}

} // namespace tb
