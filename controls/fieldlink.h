#pragma once

#include "controls/linkedtextbox.h"
#include "data/records/datasource.h"
#include "data/records/sourcebinding.h"

#include <QString>

class QFocusEvent;
class QWidget;

namespace tb {

// Binds a text box to one field of a data source's current row, for the edit box and the
// memo alike: shows the field's value, puts the set into edit when the user is about to
// change the text, and writes the text into the field when the box is left and when the
// record is posted. The box is reached through LinkedTextBox, so that a line edit
// and a plain text edit share this logic and keep their own key handling.
class FieldLink final : public EditHolder
{
public:
    explicit FieldLink(LinkedTextBox *box);

    void setDataSource(DataSource *source) { m_binding.setDataSource(source); }
    DataSource *dataSource() const { return m_binding.dataSource(); }
    DataSet *dataSet() const { return m_binding.dataSet(); }

    void setFieldName(const QString &fieldName);
    QString fieldName() const { return m_fieldName; }
    Field *field() const; // nullptr while unbound or closed
    // Text changed since the field was last shown or written.
    bool isModified() const { return m_modified; }

    // The box's text changed; a change made while the field is being shown does not count.
    void noteTextChanged();
    // Shows the field's value, dropping any text not yet written.
    void load();
    // Puts the set into edit for a change the user is about to make. False when the box
    // may not change (read-only, bound set closed, set refuses to edit).
    bool beginChange();
    // Writes the text into the field; throws the layer's error when it does not convert.
    void write();
    // The box lost the focus: writes the text, guarded. True when the box was really left
    // and the field took the text; otherwise a text that did not convert keeps the focus.
    // A box that lost the focus by being disabled was not left: nothing is written.
    bool leave(const QFocusEvent *event);

    // A post is coming: the text typed but not yet written goes into the field.
    void writePendingEdit() override { write(); }

private:
    void recordChanged(Field *changed);
    void editingChanged();
    bool isDerived() const;
    SourceBinding::Reactions reactions();

    LinkedTextBox *m_box;
    SourceBinding m_binding;
    QString m_fieldName;
    bool m_modified = false;
    bool m_loading = false;
};

} // namespace tb
