#include "app/workwindow.h"

#include "app/mainform.h"

#include <QCloseEvent>

namespace tb {

WorkWindow::WorkWindow(const QString &name, const QString &caption, Frame frame)
    : QWidget(nullptr)
    , m_frame(frame)
{
    setObjectName(name);
    setWindowTitle(caption);
    if (frame == Frame::NoCaptionButtons)
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    else
        setWindowFlags(Qt::Window);
}

void WorkWindow::returnToMain()
{
    hide();
    if (main)
        main->show();
}

void WorkWindow::closeEvent(QCloseEvent *event)
{
    if (m_frame == Frame::NoCaptionButtons) {
        // A window manager shortcut must not get round the screen's own close button,
        // which is the one place that leaves the screen in a clean state.
        if (event->spontaneous()) {
            event->ignore();
            return;
        }
        QWidget::closeEvent(event);
        return;
    }
    // Closing through the caption bar must never leave the application without a window.
    event->accept();
    if (main)
        main->show();
}

} // namespace tb
