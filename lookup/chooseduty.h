#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// Pick-list of "select * from Duty": a click hands the row\'s DutyName
// to the receiving box, the employee screen's duty box (DBEdit13).
class TChooseDuty : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDuty(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};

extern TChooseDuty *ChooseDuty;

} // namespace tb
