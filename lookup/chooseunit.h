#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// Pick-list of "select * from Unit": a click hands the row\'s UnitName
// to the receiving box, the product screen's unit box (EditUnit).
class TChooseUnit : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseUnit(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};

extern TChooseUnit *ChooseUnit;

} // namespace tb
