#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Taccountpayablemaster : public PlaceholderWindow
{
    Q_OBJECT
public:
    Taccountpayablemaster();
};

extern Taccountpayablemaster *accountpayablemaster;

} // namespace tb
