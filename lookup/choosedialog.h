#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QString>

namespace tb {

class DataSource;
class DBGrid;
class SqlQuery;

// A pick-list over one code table: a read-only grid over "select * from <table>", read
// once, when the dialog is created (a table that cannot be read makes the creation throw).
// A click on a data cell writes the row's value column into the receiving box of the
// screen that opened the dialog, and closes the dialog. Title clicks do nothing.
class ChooseDialog : public QDialog
{
    Q_OBJECT
public:
    // What tells one pick-list from another.
    struct Setup
    {
        QString name;       // objectName and instance name ("ChooseUnit")
        QString caption;
        QString sql;        // "select * from Unit"
        QString valueField; // the column handed to the receiving box ("UnitName")
    };

    ChooseDialog(const Setup &setup, QWidget *parent, QLineEdit *receiver);

    QLineEdit *receiver() const { return m_receiver; }
    QString valueField() const { return m_valueField; }

    void DBGrid1CellClick();

    // Shows a freshly created dialog modally and releases it once it has closed.
    static void pick(ChooseDialog *dialog);

private:
    SqlQuery *Query1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;

    QString m_valueField;
    QPointer<QLineEdit> m_receiver;
};

} // namespace tb
