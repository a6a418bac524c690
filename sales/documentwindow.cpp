#include "sales/documentwindow.h"

#include "controls/dbedit.h"
#include "controls/dbmemo.h"
#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "controls/windowframe.h"
#include "data/records/datasource.h"
#include "data/records/tablecursor.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

namespace {

void setReadingOrder(TableCursor *table, const DocumentLayout &layout)
{
    if (!layout.orderIndexName.isEmpty())
        table->setIndexName(layout.orderIndexName);
    else
        table->setIndexFieldNames(layout.orderFields);
}

} // namespace

DocumentWindow::DocumentWindow(const DocumentLayout &layout)
    : WorkWindow(layout.name, layout.caption, Frame::CloseBox)
{
    placeWindow(this, layout.frame.x(), layout.frame.y(), layout.frame.width(),
                layout.frame.height());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    Table1 = new TableCursor(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(layout.headerTable);
    setReadingOrder(Table1, layout);
    Table2 = new TableCursor(this);
    Table2->setObjectName(QStringLiteral("Table2"));
    Table2->setTableName(layout.lineTable);
    setReadingOrder(Table2, layout);
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);
    DataSource2 = new DataSource(this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(Table2);

    // The speed buttons have no handlers on these windows; only the close button acts.
    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("更新"),
                                QStringLiteral("Button2"));
    ToolBar->setEditingMode(false);
    Button2 = ToolBar->closeButton;
    connectGuarded(Button2, &QPushButton::clicked, this, [this](bool) { Button1Click(); });

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(layout.columns);
    DBGrid1->setDataSource(DataSource2);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ToolBar);
    column->addWidget(createHeader(layout.boxes));
    column->addWidget(DBGrid1, 1);

    if (layout.openAtCreation) {
        Table1->Open();
        Table2->Open();
    }
}

QWidget *DocumentWindow::createHeader(const std::vector<HeaderBox> &boxes)
{
    auto *header = new QWidget(this);
    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(12);
    int labelNumber = 0;
    for (const HeaderBox &box : boxes) {
        auto *label = new QLabel(box.caption, header);
        label->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, box.labelColor.isValid()
                                               ? box.labelColor
                                               : palette.color(QPalette::Base));
        label->setPalette(palette);

        QWidget *editor;
        if (box.boxName.startsWith(QLatin1String("DBMemo"))) {
            auto *memo = new DBMemo(header);
            memo->setDataSource(DataSource1);
            memo->setDataField(box.field);
            memo->setFixedHeight(48);
            editor = memo;
        } else {
            auto *edit = new DBEdit(header);
            edit->setDataSource(DataSource1);
            edit->setDataField(box.field);
            editor = edit;
        }
        editor->setObjectName(box.boxName);
        if (box.width > 0)
            editor->setFixedWidth(box.width);
        label->setBuddy(editor);

        auto *cell = new QVBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(label, 0, Qt::AlignLeft);
        cell->addWidget(editor, 0, box.width > 0 ? Qt::AlignLeft : Qt::Alignment());
        grid->addLayout(cell, box.row, box.column, 1, box.columnSpan);
    }
    return header;
}

void DocumentWindow::Button1Click()
{
    returnToMain();
}

} // namespace tb
