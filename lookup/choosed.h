#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// Pick-list of "select * from ProductType": a click hands the row\'s TypeName
// to the receiving box, the product screen's type box (EditType).
class TchooseD : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TchooseD(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};

extern TchooseD *chooseD;

} // namespace tb
