#pragma once

#include "lookup/choosedialog.h"

namespace tb {

// The five pick-lists over the code tables: one class and one instance each, made from one
// row of the table in chooselists.cpp. A click hands the row's name to the receiving box.

// "select * from ProductType": its TypeName goes to the product screen's type box (EditType).
class TchooseD : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TchooseD(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};
extern TchooseD *chooseD;

// "select * from Unit": its UnitName goes to the product screen's unit box (EditUnit).
class TChooseUnit : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseUnit(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};
extern TChooseUnit *ChooseUnit;

// "select * from Color": its ColorName goes to the product screen's colour box (EditColor).
class TChooseColor : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseColor(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};
extern TChooseColor *ChooseColor;

// "select * from Department": its DepartmentName goes to
// the employee screen's department box (DBEdit10).
class TChooseDepartment : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDepartment(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};
extern TChooseDepartment *ChooseDepartment;

// "select * from Duty": its DutyName goes to the employee screen's duty box (DBEdit13).
class TChooseDuty : public ChooseDialog
{
    Q_OBJECT
public:
    explicit TChooseDuty(QWidget *parent = nullptr, QLineEdit *receiver = nullptr);
};
extern TChooseDuty *ChooseDuty;

} // namespace tb
