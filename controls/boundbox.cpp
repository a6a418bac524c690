#include "controls/boundbox.h"

#include "controls/dbedit.h"
#include "controls/inputmethod.h"

#include <QPalette>

namespace tb {

void setBoxColor(QWidget *box, const QColor &color)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color); // every colour group: disabled boxes too
    box->setPalette(palette);
}

DBEdit *newBoundEdit(QWidget *parent, const QString &name, DataSource *source,
                     const QString &field, const QColor &color)
{
    auto *edit = new DBEdit(parent);
    edit->setObjectName(name);
    edit->setDataSource(source);
    edit->setDataField(field);
    setBoxColor(edit, color);
    setInputMethodName(edit, ime::Cangjie);
    return edit;
}

} // namespace tb
