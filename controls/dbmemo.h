#pragma once

#include "controls/linkedtextbox.h"
#include "data/records/datasource.h"

#include <QPlainTextEdit>

#include <memory>

namespace tb {

class FieldLink;

// A multi-line box bound to a memo (or text) field; same rules as DBEdit where they apply.
class DBMemo : public QPlainTextEdit, private LinkedTextBox
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);
    ~DBMemo() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &fieldName);
    QString dataField() const;
    Field *field() const; // nullptr while unbound or closed

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    QWidget *boxWidget() override;
    QString boxText() const override;
    void showFieldText(const QString &value) override;
    bool boxReadOnly() const override;

    std::unique_ptr<FieldLink> m_link;
};

} // namespace tb
