#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace tb::test {

// Runs an action on the next modal dialog (not a message box) that a test action opens,
// once it is shown: for dialogs with their own controls, such as the pick-lists, which
// the user answers by clicking in them. Polls like ModalAnswer does.
class ModalAction
{
public:
    explicit ModalAction(std::function<void(QDialog *)> action)
        : m_action(std::move(action))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }

    bool done() const { return m_done; }

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || qobject_cast<QMessageBox *>(dialog) || !dialog->isVisible())
            return;
        m_timer.stop();
        m_done = true;
        m_action(dialog);
    }

    std::function<void(QDialog *)> m_action;
    QTimer m_timer;
    bool m_done = false;
};

} // namespace tb::test
