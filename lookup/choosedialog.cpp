#include "lookup/choosedialog.h"

#include "controls/dbgrid.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/windowframe.h"
#include "data/records/datasource.h"
#include "data/records/sqlquery.h"

#include <QLineEdit>

#include <memory>

namespace tb {

ChooseDialog::ChooseDialog(const Setup &setup, QWidget *parent, QLineEdit *receiver)
    : QDialog(parent)
    , m_valueField(setup.valueField)
    , m_receiver(receiver)
{
    setObjectName(setup.name);
    setWindowTitle(setup.caption);
    placeWindow(this, 200, 200, 343, 195);

    Query1 = new SqlQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query1->SQL().Add(setup.sql);
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Query1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 8, 320, 120);
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(DataSource1);
    setInputMethodName(DBGrid1, ime::NewCangjie);
    connectGuarded(DBGrid1, &DBGrid::cellClicked, this, [this] { DBGrid1CellClick(); });

    Query1->Open();
}

void ChooseDialog::DBGrid1CellClick()
{
    const QString value = Query1->FieldByName(m_valueField)->AsString();
    if (m_receiver)
        m_receiver->setText(value);
    close();
}

void ChooseDialog::pick(ChooseDialog *dialog)
{
    // Owned by the calling screen while it is shown, released as soon as it has closed.
    std::unique_ptr<ChooseDialog> owned(dialog);
    owned->exec();
}

} // namespace tb
