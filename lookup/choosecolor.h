#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// Pick-list of "select * from Color": a click hands the row\'s ColorName
// to the receiving box, the product screen's colour box (EditColor).
class TChooseColor : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseColor(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};

extern TChooseColor *ChooseColor;

} // namespace tb
