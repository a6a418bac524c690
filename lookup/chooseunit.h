#pragma once

#include "lookup/choosedialog.h"

namespace tb {

class TChooseUnit : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseUnit(QWidget *parent = nullptr);
};

extern TChooseUnit *ChooseUnit;

} // namespace tb
