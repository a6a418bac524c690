#include "controls/workwindow.h"

#include <QCloseEvent>
#include <QPointer>

namespace tb {

namespace {

// Cleared by itself when the hub is destroyed.
QPointer<QWidget> &hubWindow()
{
    static QPointer<QWidget> window;
    return window;
}

void showHub()
{
    if (QWidget *hub = hubWindow())
        hub->show();
}

} // namespace

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

void WorkWindow::setHub(QWidget *hub)
{
    hubWindow() = hub;
}

QWidget *WorkWindow::hub()
{
    return hubWindow();
}

void WorkWindow::returnToMain()
{
    hide();
    showHub();
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
    showHub();
}

} // namespace tb
