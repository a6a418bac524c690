#include "bench/querystandin.h"

#include "bench/benchsql.h"
#include "controls/dbgrid.h"
#include "data/database.h"
#include "data/datasource.h"
#include "data/sqlquery.h"

#include <QHeaderView>

namespace tb {

QueryStandIn::QueryStandIn()
{
    setObjectName(QStringLiteral("R_product_standin"));
    resize(696, 345);
    ADOQuery1 = new ConnectionQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnectionString(Database::connectionString());
    DataSource1 = new DataSource(this);
    DataSource1->setDataSet(ADOQuery1);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 96, 665, 217);
    DBGrid1->setDataSource(DataSource1);
}

void QueryStandIn::search(const QString &column, const QVariant &value)
{
    ADOQuery1->Close();
    ADOQuery1->SQL().Clear();
    for (const QString &line : benchsql::productSelect())
        ADOQuery1->SQL().Add(line);
    if (column.isEmpty()) {
        ADOQuery1->SQL().Add(QStringLiteral("from Product"));
        ADOQuery1->setParams({});
    } else {
        ADOQuery1->SQL().Add(QStringLiteral("from Product where %1 = ?").arg(column));
        ADOQuery1->setParams({value});
    }
    ADOQuery1->Open();
}

int QueryStandIn::readFirstScreen()
{
    QAbstractItemModel *model = DBGrid1->model();
    const int rowHeight = std::max(1, DBGrid1->verticalHeader()->defaultSectionSize());
    const int visible = DBGrid1->viewport()->height() / rowHeight + 1;
    while (model->rowCount() < visible && model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    const int rows = std::min(visible, model->rowCount());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->data(model->index(r, c));
    return rows;
}

QString QueryStandIn::currentKey() const
{
    return ADOQuery1->FieldAt(0)->AsString();
}

void QueryStandIn::closeQuery()
{
    ADOQuery1->Close();
}

} // namespace tb
