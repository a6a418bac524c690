#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// Pick-list of "select * from Department": a click hands the row\'s DepartmentName
// to the receiving box, the employee screen's department box (DBEdit10).
class TChooseDepartment : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDepartment(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};

extern TChooseDepartment *ChooseDepartment;

} // namespace tb
