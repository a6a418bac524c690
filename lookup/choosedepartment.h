#pragma once

#include "lookup/choosedialog.h"

namespace tb {

class TChooseDepartment : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDepartment(QWidget *parent = nullptr);
};

extern TChooseDepartment *ChooseDepartment;

} // namespace tb
