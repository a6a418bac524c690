#pragma once

#include <QWidget>

namespace tb {

// A working window of the hub: created once at start-up, hidden, shown in place of the
// main window and hidden again when the user leaves it.
class WorkWindow : public QWidget
{
    Q_OBJECT
public:
    enum class Frame {
        NoCaptionButtons, // maintenance and query screens: their own buttons are the only way out
        CloseBox          // document and placeholder windows: the close box returns to the hub
    };

    WorkWindow(const QString &name, const QString &caption, Frame frame);

    // The window every working window returns to. The main window registers itself, so
    // that the screens need not know the application above them.
    static void setHub(QWidget *hub);
    static QWidget *hub();

    // Hides this window and shows the hub.
    void returnToMain();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Frame m_frame;
};

} // namespace tb
