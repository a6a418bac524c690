#pragma once

#include <QValidator>

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace tb {

class Field;

// Input rules of a bound box, shared by the edit box, the memo and the grid's cell editor:
// text fields hold at most their width in Big5 bytes and only characters that can be
// stored (see big5.h); integer fields take only digits and the signs, full-width ones
// read as ASCII, and a text pasted at once only when it is a whole number.
namespace fieldinput {

bool isIntegerField(const Field *field);
// Width limit in Big5 bytes; 0 when the field has none.
int maxBytes(const Field *field);
// True when every character of typed text may go into the field.
bool acceptsCharacters(const Field *field, QStringView text);
// What inserted text puts into an integer field: one typed digit or sign, or a whole
// number pasted at once, in ASCII (full-width forms narrowed); "" when it is refused.
QString integerInsertion(const QString &inserted);
// The part of inserted text that may go into the field next to otherBytes bytes of
// existing text: refused characters dropped, the rest cut at the width.
QString fitted(const Field *field, const QString &inserted, int otherBytes);
// The text a line edit would hold after typing text at its cursor (over its selection).
QString textAfterTyping(const QLineEdit *edit, const QString &typed);
// True when the key would change a box's text: typing, deleting, pasting, cutting, undo
// and redo, and in a multi-line box a new line.
bool changesText(const QKeyEvent *event, bool multiLine);

} // namespace fieldinput

// Applies the rules to every change of a line edit (typing, pasting, input-method
// commits, setText): the inserted part is filtered and cut to fit (an integer field's is
// taken whole or refused whole), with a beep when anything was refused. A change the rules
// altered still counts as the user's edit (QLineEdit::isModified).
class FieldValidator : public QValidator
{
    Q_OBJECT
public:
    FieldValidator(QLineEdit *edit, std::function<Field *()> field);

    // While set, text passes unchecked (the box showing the field's stored value).
    void setBypass(bool bypass) { m_bypass = bypass; }

    State validate(QString &input, int &pos) const override;

private:
    std::function<Field *()> m_field;
    QString m_previous;
    bool m_bypass = false;
};

} // namespace tb
