#pragma once

#include "controls/linkedtextbox.h"
#include "data/records/datasource.h"

#include <QLineEdit>

#include <memory>

namespace tb {

class FieldLink;
class FieldValidator;

// An edit box bound to one field of a data source's current row.
// - Shows the field's text (dates in the short date format); empty when the set is
//   closed or has no row.
// - Typing is limited to the field's width in Big5 bytes; a character Big5 cannot encode
//   is refused. An integer field refuses (with a beep) anything but digits, "+" and "-".
// - Typing while the set is in browse puts it into edit (automatic edit).
// - The text is written into the field when the box is left and when the record is
//   posted; an empty text makes the field null. A text that does not convert keeps the
//   focus and shows the layer's message ("'%s' is not a valid integer value for field
//   '%s'"), below a sentence naming the box by its caption.
// - Full-width digits and signs go in as ASCII; a text pasted into an integer field goes
//   in only when it is a whole number, else it is refused whole with a beep.
class DBEdit : public QLineEdit, private LinkedTextBox
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    ~DBEdit() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &fieldName);
    QString dataField() const;
    Field *field() const; // nullptr while unbound or closed
    // The caption the box is shown with: the field's display label, by which a value the
    // field refuses is told.
    void setCaption(const QString &caption);
    // Text changed since the field was last shown or written.
    bool hasPendingText() const;
    // Writes a changed text into the field now (throws the layer's conversion error).
    void updateRecord();

signals:
    // The user left the box and the field took its text (not when the box was disabled).
    // A screen's check connects here with connectGuarded, so that a refusal it throws shows
    // its message.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    QWidget *boxWidget() override;
    QString boxText() const override;
    void showFieldText(const QString &value) override;
    bool boxReadOnly() const override;

    std::unique_ptr<FieldLink> m_link;
    FieldValidator *m_validator = nullptr;
};

} // namespace tb
