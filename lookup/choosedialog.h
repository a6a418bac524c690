#pragma once

#include <QDialog>

namespace tb {

class DataSource;
class DBGrid;
class SqlQuery;

// A pick-list over one code table: a grid over "select * from <table>", read once, when
// the dialog is created.
class ChooseDialog : public QDialog
{
    Q_OBJECT
public:
    ChooseDialog(const QString &name, const QString &caption, const QString &sql,
                 QWidget *parent);

    SqlQuery *Query1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;
};

} // namespace tb
