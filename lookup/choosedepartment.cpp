#include "lookup/choosedepartment.h"

namespace tb {

TChooseDepartment *ChooseDepartment = nullptr;

TChooseDepartment::TChooseDepartment(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(QStringLiteral("ChooseDepartment"), QStringLiteral("部門"),
                   QStringLiteral("select * from Department"),
                   QStringLiteral("DepartmentName"), parent, receiver)
{
}

} // namespace tb
