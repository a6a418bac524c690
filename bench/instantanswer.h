#pragma once

#include <QMessageBox>
#include <QObject>

namespace tb {

// Answers every question box that offers the given button (the quotation screen's delete
// question) as soon as it shows, so that a timed action that asks first runs through
// without waiting for a person. Boxes without that button (error and plain messages) are
// left to the ModalWatcher, which reports them.
class InstantAnswer : public QObject
{
public:
    explicit InstantAnswer(QMessageBox::StandardButton button);
    ~InstantAnswer() override;

    int answered() const { return m_answered; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMessageBox::StandardButton m_button;
    int m_answered = 0;
};

} // namespace tb
