#include "controls/inputmethod.h"

#include <QVariant>
#include <QWidget>

namespace tb {

static const char InputMethodProperty[] = "inputMethodName";

void setInputMethodName(QWidget *widget, const QString &name)
{
    if (!widget)
        return;
    widget->setProperty(InputMethodProperty, name);
}

QString inputMethodName(const QWidget *widget)
{
    return widget ? widget->property(InputMethodProperty).toString() : QString();
}

} // namespace tb
