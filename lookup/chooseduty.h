#pragma once

#include "lookup/choosedialog.h"

namespace tb {

class TChooseDuty : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDuty(QWidget *parent = nullptr);
};

extern TChooseDuty *ChooseDuty;

} // namespace tb
