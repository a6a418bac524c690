#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace tb {

// Closes any modal dialog that appears while the benchmark drives the windows (an error
// box would otherwise wait forever for a click) and keeps its text, so the action that
// raised it is reported as failed instead of timed.
class ModalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit ModalWatcher(QObject *parent = nullptr);

    // The text of the dialogs closed since the last call ("" when none).
    QString takeMessages();

private:
    void poll();

    QTimer m_timer;
    QString m_messages;
};

} // namespace tb
