#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace tb {

class DataSource;
class DBGrid;
class TableCursor;

// The product list picker of the quotation lines: the products by number and name, read
// only. "確定" or a double-click ends it with Accepted, "取消" or the close box with
// Rejected; the caller then reads the chosen product. One instance serves every opening and
// lists the products as they are when it is shown.
class TProductPicker : public QDialog
{
    Q_OBJECT
public:
    explicit TProductPicker(QWidget *parent = nullptr);

    // The product on the row the list stands on.
    struct Choice
    {
        QString productId;
        QString productName;
    };
    Choice chosen() const;

    void Button1Click();
    void Button2Click();
    void DBGrid1DblClick();

    // Reads the list afresh first; a product table that cannot be read throws here, to
    // the caller's handler, before anything is shown.
    int exec() override;

protected:
    // The list is read afresh each time the picker is shown.
    void showEvent(QShowEvent *event) override;

private:
    void readList();

    TableCursor *Table1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;
    QPushButton *Button1;
    QPushButton *Button2;

    bool m_readForExec = false;
};

extern TProductPicker *Form28;

} // namespace tb
