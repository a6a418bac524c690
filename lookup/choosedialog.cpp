#include "lookup/choosedialog.h"

#include "app/windowframe.h"
#include "controls/dbgrid.h"
#include "controls/inputmethod.h"
#include "data/datasource.h"
#include "data/sqlquery.h"

namespace tb {

ChooseDialog::ChooseDialog(const QString &name, const QString &caption, const QString &sql,
                           QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    placeWindow(this, 200, 200, 343, 195);

    Query1 = new SqlQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query1->SQL().Add(sql);
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Query1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 8, 320, 120);
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(DataSource1);
    setInputMethodName(DBGrid1, ime::NewCangjie);

    Query1->Open();
}

} // namespace tb
