#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Taccountreceivablemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Taccountreceivablemaster();
};

extern Taccountreceivablemaster *accountreceivablemaster;

} // namespace tb
