#include "controls/dbmemo.h"

#include "controls/fieldinput.h"
#include "controls/guard.h"
#include "data/big5.h"
#include "data/dataset.h"
#include "data/field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>
#include <QMimeData>
#include <QTextCursor>

namespace tb {

class DBMemo::Link : public DataLink
{
public:
    explicit Link(DBMemo *memo) : m_memo(memo) {}

    DBMemo *m_memo;
    bool m_modified = false;
    bool m_loading = false;

    Field *field() const
    {
        DataSet *set = dataSet();
        if (!set || !set->Active() || m_memo->m_fieldName.isEmpty())
            return nullptr;
        return set->FindField(m_memo->m_fieldName);
    }

    void load()
    {
        QString text;
        try {
            if (Field *f = field())
                text = f->AsString();
        } catch (const std::exception &) {
            // Shown empty; whatever moved the set has reported its own error.
        }
        m_loading = true;
        if (m_memo->toPlainText() != text)
            m_memo->setPlainText(text);
        m_loading = false;
        m_modified = false;
    }

    bool beginChange()
    {
        if (m_memo->isReadOnly())
            return false;
        if (m_memo->m_fieldName.isEmpty() || !dataSource())
            return true;
        Field *f = field();
        if (!f)
            return false;
        DataSet *set = dataSet();
        if (set->State() == DataSetState::Edit || set->State() == DataSetState::Insert)
            return true;
        bool ok = false;
        runGuarded([&] {
            set->Edit();
            ok = set->State() == DataSetState::Edit || set->State() == DataSetState::Insert;
        });
        return ok;
    }

    void write()
    {
        if (!m_modified || m_memo->isReadOnly())
            return;
        Field *f = field();
        if (!f)
            return;
        DataSet *set = dataSet();
        if (set->State() != DataSetState::Edit && set->State() != DataSetState::Insert)
            set->Edit();
        f->setAsString(m_memo->toPlainText());
        m_modified = false;
    }

    // The text that may be inserted at the cursor, refused characters dropped and the
    // rest cut at the field's width.
    QString fit(const QString &inserted) const
    {
        Field *f = field();
        if (!f)
            return inserted;
        QTextCursor cursor = m_memo->textCursor();
        const QString all = m_memo->toPlainText();
        const int others = big5::width(all) - big5::width(cursor.selectedText());
        return fieldinput::fitted(f, inserted, others);
    }

protected:
    void activeChanged() override { load(); }
    void dataSetChanged() override { load(); }
    void recordChanged(Field *changed) override
    {
        if (!changed
            || changed->FieldName().compare(m_memo->m_fieldName, Qt::CaseInsensitive) == 0)
            load();
    }
    void editingChanged() override
    {
        DataSet *set = dataSet();
        if (!set || set->State() == DataSetState::Browse || set->State() == DataSetState::Inactive)
            load();
    }
    void updateData() override { write(); }
};

DBMemo::DBMemo(QWidget *parent)
    : QPlainTextEdit(parent), m_link(std::make_unique<Link>(this))
{
    // Tab leaves the memo, as it leaves every other box of a screen.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_link->m_loading)
            m_link->m_modified = true;
    });
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
    m_fieldName = fieldName;
    m_link->load();
}

QString DBMemo::dataField() const
{
    return m_fieldName;
}

Field *DBMemo::field() const
{
    return m_link->field();
}

static bool changesText(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

void DBMemo::keyPressEvent(QKeyEvent *event)
{
    if (!changesText(event) || isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && m_link->fit(typed) != typed) {
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
    const QString fit = m_link->fit(commit);
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
    const QString fit = m_link->fit(text);
    if (fit != text)
        QApplication::beep();
    textCursor().insertText(fit);
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    bool written = false;
    runGuarded([&] {
        m_link->write();
        written = true;
    });
    if (!written) {
        // The text did not convert: the box keeps the focus so that it can be corrected.
        // The error box has moved the focus around; take it back once it has settled.
        setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        return;
    }
}

} // namespace tb
