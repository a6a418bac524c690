#pragma once

#include <QString>

class QWidget;

namespace tb {

// What a field link needs of the text box it serves: the edit box and the memo each give it
// their own way of reading and showing text.
class LinkedTextBox
{
public:
    virtual ~LinkedTextBox() = default;
    virtual QWidget *boxWidget() = 0;
    virtual QString boxText() const = 0;
    virtual void showFieldText(const QString &text) = 0; // the field's stored value
    virtual bool boxReadOnly() const = 0;
};

} // namespace tb
