#pragma once

#include "placeholders/placeholderwindow.h"

namespace tb {

class Tpanshuan : public PlaceholderWindow
{
    Q_OBJECT
public:
    Tpanshuan();
};

extern Tpanshuan *panshuan;

} // namespace tb
