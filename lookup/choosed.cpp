#include "lookup/choosed.h"

namespace tb {

TchooseD *chooseD = nullptr;

TchooseD::TchooseD(QWidget *parent)
    : ChooseDialog(QStringLiteral("chooseD"), QStringLiteral("類別"),
                   QStringLiteral("select * from ProductType"), parent)
{
}

} // namespace tb
