#include "lookup/queryscreen.h"

#include "controls/guard.h"
#include "controls/windowframe.h"

#include <QPushButton>

namespace tb {

QueryScreen::QueryScreen(const QString &name, const QString &caption, Size size,
                         std::function<QWidget *()> maintenanceScreen)
    : WorkWindow(name, caption, Frame::NoCaptionButtons),
      m_maintenanceScreen(std::move(maintenanceScreen))
{
    if (size == Size::Large)
        placeWindow(this, 200, 200, 696, 345);
    else
        placeWindow(this, 200, 200, 360, 340);

    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->move(8, 8);
    connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void QueryScreen::Button2Click()
{
    hide();
    if (QWidget *screen = m_maintenanceScreen())
        screen->show();
}

} // namespace tb
