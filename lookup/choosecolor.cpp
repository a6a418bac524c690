#include "lookup/choosecolor.h"

namespace tb {

TChooseColor *ChooseColor = nullptr;

TChooseColor::TChooseColor(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(QStringLiteral("ChooseColor"), QStringLiteral("顏色"),
                   QStringLiteral("select * from Color"),
                   QStringLiteral("ColorName"), parent, receiver)
{
}

} // namespace tb
