#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

// The eight windows that hold a menu entry's place: one class and one instance each, made
// from one row of the table in placeholders.cpp.

class TRequestbuymaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    TRequestbuymaster();
};
extern TRequestbuymaster *Requestbuymaster;

class Tbuymaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tbuymaster();
};
extern Tbuymaster *buymaster;

class Tpurchasemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpurchasemaster();
};
extern Tpurchasemaster *purchasemaster;

class Tpurchasereturnmaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpurchasereturnmaster();
};
extern Tpurchasereturnmaster *purchasereturnmaster;

class Taccountreceivablemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Taccountreceivablemaster();
};
extern Taccountreceivablemaster *accountreceivablemaster;

class Taccountpayablemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Taccountpayablemaster();
};
extern Taccountpayablemaster *accountpayablemaster;

class Tpanshuan : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpanshuan();
};
extern Tpanshuan *panshuan;

class Ttalkabout : public PlaceholderWindow
{
    Q_OBJECT
public:
    Ttalkabout();
};
extern Ttalkabout *talkabout;

} // namespace tb
