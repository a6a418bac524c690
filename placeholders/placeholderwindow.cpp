#include "placeholders/placeholderwindow.h"

#include "controls/guard.h"
#include "controls/windowframe.h"

#include <QPushButton>

namespace tb {

PlaceholderWindow::PlaceholderWindow(const Setup &setup)
    : WorkWindow(setup.name, setup.name, Frame::CloseBox)
{
    placeWindow(this, setup.position.x(), setup.position.y(), 696, 480);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    Button1 = new QPushButton(QStringLiteral("結束"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(QRect(setup.closeButton, QSize(75, 25)));
    connectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });
}

void PlaceholderWindow::Button1Click()
{
    returnToMain();
}

} // namespace tb
