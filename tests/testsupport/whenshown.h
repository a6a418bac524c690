#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tb::test {

// Runs an action on the next modal window of one kind (a print preview, a file dialog)
// once it is shown, and leaves every other window alone: for dialogs that open one over
// another, each answered by its own watcher. Polls like ModalAnswer does.
template<typename T>
class WhenShown
{
public:
    explicit WhenShown(std::function<void(T *)> action) : m_action(std::move(action))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }

    bool done() const { return m_done; }

private:
    void poll()
    {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        m_timer.stop();
        m_done = true;
        m_action(window);
    }

    std::function<void(T *)> m_action;
    QTimer m_timer;
    bool m_done = false;
};

} // namespace tb::test
