#include "controls/dbedit.h"

#include "controls/fieldinput.h"
#include "controls/fieldlink.h"
#include "data/records/dataset.h"
#include "data/records/field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace tb {

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    m_link = std::make_unique<FieldLink>(static_cast<LinkedTextBox *>(this));
    m_validator = new FieldValidator(this, [this] { return m_link->field(); });
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, this, [this] { m_link->noteTextChanged(); });
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
    m_link->setFieldName(fieldName);
}

QString DBEdit::dataField() const
{
    return m_link->fieldName();
}

Field *DBEdit::field() const
{
    return m_link->field();
}

void DBEdit::setCaption(const QString &caption)
{
    DataSource *source = dataSource();
    if (source && source->dataSet())
        source->dataSet()->setDisplayLabel(dataField(), caption);
}

bool DBEdit::hasPendingText() const
{
    return m_link->isModified();
}

void DBEdit::updateRecord()
{
    m_link->write();
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link->isModified() && !isReadOnly()) {
        // Escape takes back what was typed since the field was last shown.
        m_link->load();
        event->accept();
        return;
    }
    if (!fieldinput::changesText(event, false)) {
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

QWidget *DBEdit::boxWidget()
{
    return this;
}

QString DBEdit::boxText() const
{
    return text();
}

void DBEdit::showFieldText(const QString &value)
{
    // The stored value is shown as it is, not as typing would let it in.
    m_validator->setBypass(true);
    setText(value);
    m_validator->setBypass(false);
}

bool DBEdit::boxReadOnly() const
{
    return isReadOnly();
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_link->leave(event))
        emit exited();
}

} // namespace tb
