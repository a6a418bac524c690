#include "lookup/choosedepartment.h"

namespace tb {

TChooseDepartment *ChooseDepartment = nullptr;

TChooseDepartment::TChooseDepartment(QWidget *parent)
    : ChooseDialog(QStringLiteral("ChooseDepartment"), QStringLiteral("部門"),
                   QStringLiteral("select * from Department"), parent)
{
}

} // namespace tb
