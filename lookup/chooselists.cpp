#include "lookup/chooselists.h"

using namespace Qt::StringLiterals;

namespace tb {

TchooseD *chooseD = nullptr;
TChooseUnit *ChooseUnit = nullptr;
TChooseColor *ChooseColor = nullptr;
TChooseDepartment *ChooseDepartment = nullptr;
TChooseDuty *ChooseDuty = nullptr;

namespace {

enum class List { Type, Unit, Color, Department, Duty };

// Name, caption, statement and the column handed over, by list.
const ChooseDialog::Setup &setupOf(List list)
{
    // The duty list is captioned with its own name.
    static const ChooseDialog::Setup setups[] = {
        {u"chooseD"_s, u"類別"_s, u"select * from ProductType"_s, u"TypeName"_s},
        {u"ChooseUnit"_s, u"單位"_s, u"select * from Unit"_s, u"UnitName"_s},
        {u"ChooseColor"_s, u"顏色"_s, u"select * from Color"_s, u"ColorName"_s},
        {u"ChooseDepartment"_s, u"部門"_s, u"select * from Department"_s,
         u"DepartmentName"_s},
        {u"ChooseDuty"_s, u"ChooseDuty"_s, u"select * from Duty"_s, u"DutyName"_s},
    };
    return setups[int(list)];
}

} // namespace

TchooseD::TchooseD(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(setupOf(List::Type), parent, receiver)
{
}

TChooseUnit::TChooseUnit(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(setupOf(List::Unit), parent, receiver)
{
}

TChooseColor::TChooseColor(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(setupOf(List::Color), parent, receiver)
{
}

TChooseDepartment::TChooseDepartment(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(setupOf(List::Department), parent, receiver)
{
}

TChooseDuty::TChooseDuty(QWidget *parent, QLineEdit *receiver)
    : ChooseDialog(setupOf(List::Duty), parent, receiver)
{
}

} // namespace tb
