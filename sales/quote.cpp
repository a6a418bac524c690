#include "sales/quote.h"

#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "controls/windowframe.h"
#include "data/datasource.h"
#include "data/tablecursor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TQuote *Quote = nullptr;

namespace {

TableCursor *newTable(QObject *owner, const char *name, const char *table)
{
    auto *cursor = new TableCursor(owner);
    cursor->setObjectName(QString::fromLatin1(name));
    cursor->setTableName(QString::fromLatin1(table));
    return cursor;
}

DataSource *newSource(QObject *owner, const char *name, DataSet *set)
{
    auto *source = new DataSource(owner);
    source->setObjectName(QString::fromLatin1(name));
    source->setDataSet(set);
    return source;
}

} // namespace

TQuote::TQuote()
    : WorkWindow(QStringLiteral("Quote"), QStringLiteral("報價單"), Frame::CloseBox)
{
    placeWindow(this, 201, 159, 731, 552);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    Table1 = newTable(this, "Table1", "QuoteMaster");
    Table2 = newTable(this, "Table2", "QuoteDetail");
    tbQuote = newTable(this, "tbQuote", "QuoteMaster");
    tbDetail = newTable(this, "tbDetail", "QuoteDetail");
    tbCUST = newTable(this, "tbCUST", "Customer");
    tbEMP = newTable(this, "tbEMP", "Employee");
    tbPROD = newTable(this, "tbPROD", "Product");
    DataSource1 = newSource(this, "DataSource1", Table1);
    DataSource2 = newSource(this, "DataSource2", Table2);
    DataSource3 = newSource(this, "DataSource3", tbCUST);
    DataSource4 = newSource(this, "DataSource4", tbPROD);
    DataSource5 = newSource(this, "DataSource5", tbEMP);

    Table2->setIndexFieldNames(QStringLiteral("QuoteID"));
    Table2->setMasterSource(DataSource1);
    Table2->setMasterFields(QStringLiteral("QuoteID"));
    Table2->setCachedUpdates(true);
    tbQuote->setIndexFieldNames(QStringLiteral("QuoteID"));
    tbCUST->setIndexFieldNames(QStringLiteral("CustomerID"));
    tbPROD->setIndexFieldNames(QStringLiteral("ProductID"));

    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                                QStringLiteral("Button1"));
    ToolBar->setEditingMode(false);
    Button1 = ToolBar->closeButton;
    connectGuarded(Button1, &QPushButton::clicked, this, [this](bool) { Button1Click(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ToolBar);
    layout->addStretch();

    // Opened with the window, so a database without these tables stops start-up here.
    for (TableCursor *cursor : {tbCUST, tbEMP, tbPROD, Table1, Table2, tbQuote, tbDetail})
        cursor->Open();
}

void TQuote::Button1Click()
{
    returnToMain();
}

} // namespace tb
