#pragma once

#include "data/records/datasource.h"

#include <QComboBox>

#include <memory>

namespace tb {

// A combo box bound to a (lookup) field that lists the rows of a second data source by
// its listed columns (paged, like a grid) and on choice writes the chosen row's key into
// the field's key field, putting the record into edit when it is in browse.
class DBLookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget *parent = nullptr);
    ~DBLookupComboBox() override;

    void setDataSource(DataSource *source);
    void setDataField(const QString &fieldName);   // the lookup field, e.g. CUST_ID2
    void setListSource(DataSource *source);
    void setKeyField(const QString &fieldName);    // key of the listed rows
    void setListFields(const QString &fieldNames); // ";"-separated columns shown
    void setDropDownWidth(int width);

    // The text the box shows: the bound field's value.
    QString displayText() const;
    // Rows of the list source read so far (they are read page by page).
    int loadedRowCount() const;

    // Lists the rows as they are stored now, read afresh a page at a time.
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tb
