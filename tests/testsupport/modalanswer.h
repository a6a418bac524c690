#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace tb::test {

// Answers the next modal dialog(s) that a test action opens: polls
// QApplication::activeModalWidget(), records its caption and text, then presses the
// button (a QMessageBox standard button, or the button whose text matches).
// Use: ModalAnswer answer(QMessageBox::Yes); QTest::mouseClick(...); answer.text()
class ModalAnswer
{
public:
    explicit ModalAnswer(QMessageBox::StandardButton button, int count = 1);
    explicit ModalAnswer(const QString &buttonText, int count = 1);
    // Closes the dialog (reject) instead of pressing a button.
    static ModalAnswer closing(int count = 1);
    ~ModalAnswer();
    ModalAnswer(ModalAnswer &&other) noexcept;
    ModalAnswer(const ModalAnswer &) = delete;
    ModalAnswer &operator=(const ModalAnswer &) = delete;

    int seen() const;                 // how many dialogs were answered
    QString text(int i = 0) const;    // text of the i-th dialog ("" if none)
    QString caption(int i = 0) const;
    QMessageBox::Icon icon(int i = 0) const;
    QMessageBox::StandardButtons buttons(int i = 0) const;
    QMessageBox::StandardButton defaultButton(int i = 0) const;

private:
    struct State;
    State *m_state;
};

} // namespace tb::test
