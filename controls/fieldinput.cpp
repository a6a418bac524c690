#include "controls/fieldinput.h"

#include "data/big5.h"
#include "data/field.h"

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
        for (QChar c : text)
            if (!integerCharacter(c))
                return false;
        return true;
    }
    return big5::isStorable(text, field->DataType() == FieldType::Memo);
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
