#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Ttalkabout : public PlaceholderWindow
{
    Q_OBJECT
public:
    Ttalkabout();
};

extern Ttalkabout *talkabout;

} // namespace tb
