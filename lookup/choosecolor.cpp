#include "lookup/choosecolor.h"

namespace tb {

TChooseColor *ChooseColor = nullptr;

TChooseColor::TChooseColor(QWidget *parent)
    : ChooseDialog(QStringLiteral("ChooseColor"), QStringLiteral("顏色"),
                   QStringLiteral("select * from Color"), parent)
{
}

} // namespace tb
