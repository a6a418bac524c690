#include "lookup/choosed.h"

namespace tb {

TchooseD *chooseD = nullptr;

TchooseD::TchooseD(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(QStringLiteral("chooseD"), QStringLiteral("類別"),
                   QStringLiteral("select * from ProductType"),
                   QStringLiteral("TypeName"), parent, receiver)
{
}

} // namespace tb
