#include "controls/dbmemo.h"

#include "controls/fieldinput.h"
#include "controls/fieldlink.h"
#include "data/book/big5.h"
#include "data/records/field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace tb {

namespace {

// The text that may be inserted at the memo's cursor, refused characters dropped and the
// rest cut at the field's width.
QString fitAtCursor(const QPlainTextEdit *memo, const Field *field, const QString &inserted)
{
    if (!field)
        return inserted;
    const QTextCursor cursor = memo->textCursor();
    const QString all = memo->toPlainText();
    const int others = big5::width(all) - big5::width(cursor.selectedText());
    return fieldinput::fitted(field, inserted, others);
}

} // namespace

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    m_link = std::make_unique<FieldLink>(static_cast<LinkedTextBox *>(this));
    // Tab leaves the memo, as it leaves every other box of a screen.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { m_link->noteTextChanged(); });
}

QWidget *DBMemo::boxWidget()
{
    return this;
}

QString DBMemo::boxText() const
{
    return toPlainText();
}

void DBMemo::showFieldText(const QString &value)
{
    setPlainText(value);
}

bool DBMemo::boxReadOnly() const
{
    return isReadOnly();
}

DBMemo::~DBMemo()
{
    m_link->setDataSource(nullptr);
}

void DBMemo::setDataSource(DataSource *source)
{
    m_link->setDataSource(source);
    m_link->load();
}

DataSource *DBMemo::dataSource() const
{
    return m_link->dataSource();
}

void DBMemo::setDataField(const QString &fieldName)
{
    m_link->setFieldName(fieldName);
}

QString DBMemo::dataField() const
{
    return m_link->fieldName();
}

Field *DBMemo::field() const
{
    return m_link->field();
}

void DBMemo::keyPressEvent(QKeyEvent *event)
{
    if (!fieldinput::changesText(event, true) || isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()
        && fitAtCursor(this, m_link->field(), typed) != typed) {
        QApplication::beep();
        event->accept();
        return;
    }
    if (!m_link->beginChange()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    if (!m_link->beginChange()) {
        QInputMethodEvent empty;
        QPlainTextEdit::inputMethodEvent(&empty);
        event->accept();
        return;
    }
    const QString fit = fitAtCursor(this, m_link->field(), commit);
    if (fit == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(fit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

void DBMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || isReadOnly())
        return;
    if (!m_link->beginChange())
        return;
    const QString text = source->text();
    const QString fit = fitAtCursor(this, m_link->field(), text);
    if (fit != text)
        QApplication::beep();
    textCursor().insertText(fit);
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_link->leave(event);
}

} // namespace tb
