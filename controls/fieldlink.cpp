#include "controls/fieldlink.h"

#include "controls/guard.h"
#include "data/records/dataset.h"
#include "data/records/field.h"

#include <QFocusEvent>
#include <QPalette>
#include <QTimer>
#include <QWidget>

namespace tb {

FieldLink::FieldLink(LinkedTextBox *box)
    : m_box(box), m_binding(box->boxWidget(), reactions(), this)
{
    // A bound box is disabled whenever its screen browses, and still shows the record: its
    // text stays readable on the coloured backgrounds rather than fading to a pale grey.
    QWidget *widget = m_box->boxWidget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
    widget->setPalette(palette);
}

SourceBinding::Reactions FieldLink::reactions()
{
    SourceBinding::Reactions r;
    r.activeChanged = [this] { load(); };
    r.dataSetChanged = [this] { load(); };
    r.recordChanged = [this](Field *changed) { recordChanged(changed); };
    r.editingChanged = [this] { editingChanged(); };
    return r;
}

void FieldLink::setFieldName(const QString &fieldName)
{
    m_fieldName = fieldName;
    load();
}

Field *FieldLink::field() const
{
    DataSet *set = dataSet();
    if (!set || !set->Active() || m_fieldName.isEmpty())
        return nullptr;
    return set->FindField(m_fieldName);
}

void FieldLink::noteTextChanged()
{
    if (!m_loading)
        m_modified = true;
}

void FieldLink::load()
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
    if (m_box->boxText() != text)
        m_box->showFieldText(text);
    m_loading = false;
    m_modified = false;
}

bool FieldLink::beginChange()
{
    if (m_box->boxReadOnly())
        return false;
    if (m_fieldName.isEmpty() || !dataSource())
        return true; // an unbound box is a plain edit box
    Field *f = field();
    if (!f)
        return false;
    DataSet *set = dataSet();
    if (set && set->Editing())
        return true;
    bool ok = false;
    runGuarded([&] {
        set->Edit();
        ok = set && set->Editing();
    });
    return ok;
}

void FieldLink::write()
{
    if (!m_modified || m_box->boxReadOnly())
        return;
    Field *f = field();
    if (!f)
        return;
    DataSet *set = dataSet();
    if (!(set && set->Editing()))
        set->Edit(); // text put into the box by a screen rather than typed
    f->setAsString(m_box->boxText());
    m_modified = false;
}

bool FieldLink::leave(const QFocusEvent *event)
{
    // Leaving the window (a dialog, a menu) is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return false;
    // Nor is losing the focus because the box was disabled (a save or cancel ending the
    // editing mode): Qt then passes the focus on as if Tab had been pressed.
    if (!m_box->boxWidget()->isEnabled())
        return false;
    bool written = false;
    runGuarded([&] {
        write();
        written = true;
    });
    if (!written) {
        // The text did not convert: the box keeps the focus so that it can be corrected.
        // The error box has moved the focus around; take it back once it has settled.
        QWidget *box = m_box->boxWidget();
        box->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
    }
    return written;
}

void FieldLink::recordChanged(Field *changed)
{
    if (!changed || isDerived()
        || changed->FieldName().compare(m_fieldName, Qt::CaseInsensitive) == 0)
        load();
}

void FieldLink::editingChanged()
{
    DataSet *set = dataSet();
    if (!set || set->State() == DataSetState::Browse || set->State() == DataSetState::Inactive)
        load();
}

// Look-up and calculated fields follow other fields of the row.
bool FieldLink::isDerived() const
{
    Field *f = field();
    return f && f->Kind() != FieldKind::Data;
}

} // namespace tb
