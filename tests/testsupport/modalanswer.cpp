#include "testsupport/modalanswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace tb::test {

struct ModalAnswer::State
{
    enum class Mode { Standard, ByText, Close } mode = Mode::Standard;
    QMessageBox::StandardButton button = QMessageBox::NoButton;
    QString buttonText;
    int remaining = 1;
    struct Seen
    {
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    QList<Seen> seen;
    QTimer timer;
    QPointer<QWidget> lastAnswered;

    void poll()
    {
        if (remaining <= 0)
            return;
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == lastAnswered)
            return;
        Seen s;
        s.caption = modal->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box) {
            s.text = box->text();
            s.icon = box->icon();
            s.buttons = box->standardButtons();
            if (box->defaultButton())
                s.defaultButton = box->standardButton(box->defaultButton());
        }
        seen.append(s);
        lastAnswered = modal;
        --remaining;
        answer(modal, box);
    }

    void answer(QWidget *modal, QMessageBox *box)
    {
        if (mode == Mode::Close || !box) {
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        QAbstractButton *target = nullptr;
        if (mode == Mode::Standard)
            target = box->button(button);
        else
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove(QLatin1Char('&')) == buttonText)
                    target = b;
        if (target)
            target->click();
        else
            box->reject();
    }
};

ModalAnswer::ModalAnswer(QMessageBox::StandardButton button, int count)
    : m_state(new State)
{
    m_state->button = button;
    m_state->remaining = count;
    QObject::connect(&m_state->timer, &QTimer::timeout, [s = m_state] { s->poll(); });
    m_state->timer.start(10);
}

ModalAnswer::ModalAnswer(const QString &buttonText, int count)
    : ModalAnswer(QMessageBox::NoButton, count)
{
    m_state->mode = State::Mode::ByText;
    m_state->buttonText = buttonText;
}

ModalAnswer ModalAnswer::closing(int count)
{
    ModalAnswer answer(QMessageBox::NoButton, count);
    answer.m_state->mode = State::Mode::Close;
    return answer;
}

ModalAnswer::ModalAnswer(ModalAnswer &&other) noexcept
    : m_state(std::exchange(other.m_state, nullptr))
{
}

ModalAnswer::~ModalAnswer()
{
    delete m_state;
}

int ModalAnswer::seen() const { return int(m_state->seen.size()); }

QString ModalAnswer::text(int i) const
{
    return i < m_state->seen.size() ? m_state->seen[i].text : QString();
}

QString ModalAnswer::caption(int i) const
{
    return i < m_state->seen.size() ? m_state->seen[i].caption : QString();
}

QMessageBox::Icon ModalAnswer::icon(int i) const
{
    return i < m_state->seen.size() ? m_state->seen[i].icon : QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ModalAnswer::buttons(int i) const
{
    return i < m_state->seen.size() ? m_state->seen[i].buttons : QMessageBox::StandardButtons();
}

QMessageBox::StandardButton ModalAnswer::defaultButton(int i) const
{
    return i < m_state->seen.size() ? m_state->seen[i].defaultButton : QMessageBox::NoButton;
}

} // namespace tb::test
