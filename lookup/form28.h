#pragma once

#include <QDialog>

class QPushButton;

namespace tb {

class DataSource;
class DBGrid;
class TableCursor;

// The product list picker of the quotation lines.
class TForm28 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm28(QWidget *parent = nullptr);

    TableCursor *Table1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *event) override;
};

extern TForm28 *Form28;

} // namespace tb
