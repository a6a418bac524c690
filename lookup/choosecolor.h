#pragma once

#include "lookup/choosedialog.h"

namespace tb {

class TChooseColor : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseColor(QWidget *parent = nullptr);
};

extern TChooseColor *ChooseColor;

} // namespace tb
