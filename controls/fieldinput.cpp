#include "controls/fieldinput.h"

#include "data/book/big5.h"
#include "data/records/field.h"
#include "data/book/fieldvalue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace tb {

namespace fieldinput {

bool isIntegerField(const Field *field)
{
    return field && field->DataType() == FieldType::Integer;
}

int maxBytes(const Field *field)
{
    return field && field->DataType() == FieldType::String ? qMax(0, field->Size()) : 0;
}

static bool integerCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+')
           || c == QLatin1Char('-');
}

bool acceptsCharacters(const Field *field, QStringView text)
{
    if (!field)
        return true;
    if (isIntegerField(field)) {
        for (QChar c : fieldvalue::narrowed(text))
            if (!integerCharacter(c))
                return false;
        return true;
    }
    return big5::isStorable(text, field->DataType() == FieldType::Memo);
}

QString integerInsertion(const QString &inserted)
{
    // One character is being typed: a sign may stand anywhere while the number is written,
    // and a text that is still no number is refused when the box is left. More at once is
    // pasted or committed by an input method, and goes in only as a whole number: "1.5" or
    // "0x10" filtered to their digits would be another number.
    const QString narrow = fieldvalue::narrowed(inserted);
    if (narrow.size() == 1)
        return integerCharacter(narrow.at(0)) ? narrow : QString();
    return fieldvalue::isWholeNumber(narrow) ? narrow.trimmed() : QString();
}

QString fitted(const Field *field, const QString &inserted, int otherBytes)
{
    if (!field)
        return inserted;
    const int limit = maxBytes(field);
    int used = otherBytes;
    QString result;
    for (int i = 0; i < inserted.size();) {
        const int length = inserted.at(i).isHighSurrogate() && i + 1 < inserted.size() ? 2 : 1;
        const QStringView piece = QStringView(inserted).mid(i, length);
        i += length;
        if (!acceptsCharacters(field, piece))
            continue;
        const int bytes = big5::width(piece);
        if (limit > 0 && used + bytes > limit)
            break;
        used += bytes;
        result += piece;
    }
    return result;
}

QString textAfterTyping(const QLineEdit *edit, const QString &typed)
{
    QString text = edit->text();
    if (edit->hasSelectedText()) {
        const int start = edit->selectionStart();
        text.remove(start, edit->selectedText().size());
        return text.insert(start, typed);
    }
    return text.insert(edit->cursorPosition(), typed);
}

bool changesText(const QKeyEvent *event, bool multiLine)
{
    static const QKeySequence::StandardKey edits[] = {
        QKeySequence::Paste,           QKeySequence::Cut,
        QKeySequence::Undo,            QKeySequence::Redo,
        QKeySequence::Delete,          QKeySequence::Backspace,
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine,
    };
    for (QKeySequence::StandardKey key : edits)
        if (event->matches(key))
            return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return multiLine;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace fieldinput

FieldValidator::FieldValidator(QLineEdit *edit, std::function<Field *()> field)
    : QValidator(edit), m_field(std::move(field)), m_previous(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_previous = text;
    });
    // A text the rules altered is set anew, which clears the box's modified flag; the
    // user's edit it was must still be written.
    connect(edit, &QLineEdit::textEdited, edit, [edit] { edit->setModified(true); });
}

QValidator::State FieldValidator::validate(QString &input, int &pos) const
{
    const Field *field = m_field ? m_field() : nullptr;
    if (m_bypass || !field)
        return Acceptable;
    // Find what this change inserted: the text between the unchanged head and tail.
    const QString &previous = m_previous;
    const int shorter = int(qMin(input.size(), previous.size()));
    int head = 0;
    while (head < shorter && input.at(head) == previous.at(head))
        ++head;
    if (head > 0 && input.at(head - 1).isHighSurrogate())
        --head;
    int tail = 0;
    while (tail < shorter - head
           && input.at(input.size() - 1 - tail) == previous.at(previous.size() - 1 - tail))
        ++tail;
    if (tail > 0 && input.at(input.size() - tail).isLowSurrogate())
        --tail;
    const QString inserted = input.mid(head, input.size() - head - tail);
    if (inserted.isEmpty())
        return Acceptable;
    const QString left = input.left(head);
    const QString right = input.right(tail);
    if (fieldinput::isIntegerField(field)) {
        const QString number = fieldinput::integerInsertion(inserted);
        if (number != inserted) {
            if (number.isEmpty())
                QApplication::beep(); // refused whole: the box keeps what it had
            input = number.isEmpty() ? previous : left + number + right;
            pos = int(number.isEmpty() ? head : head + number.size());
        }
        return Acceptable;
    }
    const QString fit = fieldinput::fitted(field, inserted,
                                           big5::width(left) + big5::width(right));
    if (fit != inserted) {
        QApplication::beep();
        input = left + fit + right;
        pos = int(head + fit.size());
    }
    return Acceptable;
}

} // namespace tb
