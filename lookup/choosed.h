#pragma once

#include "lookup/choosedialog.h"

namespace tb {

class TchooseD : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TchooseD(QWidget *parent = nullptr);
};

extern TchooseD *chooseD;

} // namespace tb
