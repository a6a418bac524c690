#include "controls/dbedit.h"

#include "controls/fieldinput.h"
#include "controls/guard.h"
#include "data/dataset.h"
#include "data/errors.h"
#include "data/field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>

namespace tb {

class DBEdit::Link : public DataLink
{
public:
    explicit Link(DBEdit *edit) : m_edit(edit) {}

    DBEdit *m_edit;
    FieldValidator *m_validator = nullptr;
    bool m_modified = false;
    bool m_loading = false;

    Field *field() const
    {
        DataSet *set = dataSet();
        if (!set || !set->Active() || m_edit->m_fieldName.isEmpty())
            return nullptr;
        return set->FindField(m_edit->m_fieldName);
    }

    // Shows the field's value, dropping any text not yet written.
    void load()
    {
        QString text;
        try {
            if (Field *f = field())
                text = f->AsString();
        } catch (const std::exception &) {
            // A row that cannot be read shows as empty; the operation that moved there has
            // reported its own error.
        }
        m_loading = true;
        m_validator->setBypass(true);
        if (m_edit->text() != text)
            m_edit->setText(text);
        m_validator->setBypass(false);
        m_loading = false;
        m_modified = false;
    }

    // Puts the set into edit for a change the user is about to make. False when the box
    // may not change (read-only, unbound set closed, set refuses to edit).
    bool beginChange()
    {
        if (m_edit->isReadOnly())
            return false;
        if (m_edit->m_fieldName.isEmpty() || !dataSource())
            return true; // an unbound box is a plain edit box
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

    // Writes the text into the field; throws the layer's error when it does not convert.
    void write()
    {
        if (!m_modified || m_edit->isReadOnly())
            return;
        Field *f = field();
        if (!f)
            return;
        DataSet *set = dataSet();
        if (set->State() != DataSetState::Edit && set->State() != DataSetState::Insert)
            set->Edit(); // text put into the box by a screen rather than typed
        f->setAsString(m_edit->text());
        m_modified = false;
    }

protected:
    void activeChanged() override { load(); }
    void dataSetChanged() override { load(); }
    void recordChanged(Field *changed) override
    {
        if (!changed || isDerived()
            || changed->FieldName().compare(m_edit->m_fieldName, Qt::CaseInsensitive) == 0)
            load();
    }
    void editingChanged() override
    {
        DataSet *set = dataSet();
        if (!set || set->State() == DataSetState::Browse || set->State() == DataSetState::Inactive)
            load();
    }
    void updateData() override { write(); }

private:
    // Look-up and calculated fields follow other fields of the row.
    bool isDerived() const
    {
        Field *f = field();
        return f && f->Kind() != FieldKind::Data;
    }
};

DBEdit::DBEdit(QWidget *parent)
    : QLineEdit(parent), m_link(std::make_unique<Link>(this))
{
    m_link->m_validator = new FieldValidator(this, [this] { return m_link->field(); });
    setValidator(m_link->m_validator);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_link->m_loading)
            m_link->m_modified = true;
    });
}

DBEdit::~DBEdit()
{
    m_link->setDataSource(nullptr);
}

void DBEdit::setDataSource(DataSource *source)
{
    m_link->setDataSource(source);
    m_link->load();
}

DataSource *DBEdit::dataSource() const
{
    return m_link->dataSource();
}

void DBEdit::setDataField(const QString &fieldName)
{
    m_fieldName = fieldName;
    m_link->load();
}

QString DBEdit::dataField() const
{
    return m_fieldName;
}

Field *DBEdit::field() const
{
    return m_link->field();
}

bool DBEdit::hasPendingText() const
{
    return m_link->m_modified;
}

void DBEdit::updateRecord()
{
    m_link->write();
}

static bool changesText(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
        || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::Backspace)
        || event->matches(QKeySequence::DeleteEndOfWord)
        || event->matches(QKeySequence::DeleteStartOfWord)
        || event->matches(QKeySequence::DeleteEndOfLine))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link->m_modified && !isReadOnly()) {
        // Escape takes back what was typed since the field was last shown.
        m_link->load();
        event->accept();
        return;
    }
    if (!changesText(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    const bool typing = !typed.isEmpty() && typed.at(0).isPrint()
                        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing && !isReadOnly()) {
        Field *f = m_link->field();
        const QString after = fieldinput::textAfterTyping(this, typed);
        const int limit = fieldinput::maxBytes(f);
        if (!fieldinput::acceptsCharacters(f, typed)
            || (limit > 0 && fieldinput::fitted(f, after, 0) != after)) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    if (!m_link->beginChange()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && !m_link->beginChange()) {
        // Closed or read-only: the composition ends without changing the box.
        QInputMethodEvent empty;
        QLineEdit::inputMethodEvent(&empty);
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Leaving the window (a dialog, a menu) is not leaving the box.
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
    if (OnExit)
        runGuarded(OnExit);
}

} // namespace tb
