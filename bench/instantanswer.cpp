#include "bench/instantanswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace tb {

InstantAnswer::InstantAnswer(QMessageBox::StandardButton button) : m_button(button)
{
    qApp->installEventFilter(this);
}

InstantAnswer::~InstantAnswer()
{
    qApp->removeEventFilter(this);
}

bool InstantAnswer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show)
        return false;
    auto *box = qobject_cast<QMessageBox *>(watched);
    if (!box || !box->button(m_button))
        return false;
    // The box's own event loop is not running yet while it shows: answer from inside it.
    QPointer<QMessageBox> target(box);
    const QMessageBox::StandardButton button = m_button;
    QTimer::singleShot(0, box, [target, button] {
        if (target && target->isVisible())
            target->button(button)->click();
    });
    ++m_answered;
    return false;
}

} // namespace tb
