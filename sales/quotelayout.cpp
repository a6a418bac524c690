// TQuote, part one: its record sets and controls, and which handler each event runs.

#include "sales/quote.h"

#include "controls/boundbox.h"
#include "controls/datepicker.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dblookupcombobox.h"
#include "controls/dbmemo.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/recordtoolbar.h"
#include "data/records/datasource.h"
#include "data/records/recordrules.h"
#include "data/records/tablecursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace tb {

namespace {

// Teal with white text: what the user reads but never types.
const QColor Teal(0x00, 0x80, 0x80);
const QColor TealText(Qt::white);
// The date both pickers show until the user picks another.
const QDate PickerStart(2006, 8, 22);

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

DBEdit *newEdit(QWidget *parent, const char *name, DataSource *source, const char *field,
                const QColor &color)
{
    return newBoundEdit(parent, QString::fromLatin1(name), source, QString::fromLatin1(field),
                        color);
}

void paintTeal(DBEdit *edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Teal);
    palette.setColor(QPalette::Text, TealText);
    edit->setPalette(palette);
    edit->setReadOnly(true);
}

QLabel *newLabel(QWidget *parent, const char *name, const char *caption, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    if (auto *edit = qobject_cast<DBEdit *>(buddy))
        edit->setCaption(label->text());
    return label;
}

DatePicker *newPicker(QWidget *parent, const char *name)
{
    auto *picker = new DatePicker(PickerStart, parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setFixedWidth(17); // only its drop-down button shows beside the date box
    return picker;
}

DBLookupComboBox *newLookup(QWidget *parent, const char *name, DataSource *source,
                            const char *field, DataSource *list, const char *key,
                            const char *listFields)
{
    auto *box = new DBLookupComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDataSource(source);
    box->setDataField(QString::fromLatin1(field));
    box->setListSource(list);
    box->setKeyField(QString::fromLatin1(key));
    box->setListFields(QString::fromLatin1(listFields));
    box->setDropDownWidth(150);
    setInputMethodName(box, ime::Cangjie);
    return box;
}

// A date box with its picker's button at its right.
QHBoxLayout *withPicker(DBEdit *edit, DatePicker *picker)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit, 1);
    row->addWidget(picker);
    return row;
}

GridColumn tealColumn(const char *field, const char *title)
{
    GridColumn column(QString::fromLatin1(field), QString::fromUtf8(title));
    column.color = Teal;
    column.fontColor = TealText;
    column.readOnly = true;
    return column;
}

// Hands one record set's rules to the window's handlers; lives as long as the window.
class HandlerRules final : public QObject, public RecordRules
{
public:
    using Handler = std::function<void()>;
    struct Handlers
    {
        Handler newRecord, calculateFields, beforePost, beforeDelete;
        std::function<void(Field &)> validateField;
    };

    HandlerRules(QObject *owner, Handlers handlers)
        : QObject(owner), m_handlers(std::move(handlers))
    {
    }

    void newRecord(DataSet &) override { run(m_handlers.newRecord); }
    void calculateFields(DataSet &) override { run(m_handlers.calculateFields); }
    void beforePost(DataSet &) override { run(m_handlers.beforePost); }
    void beforeDelete(DataSet &) override { run(m_handlers.beforeDelete); }
    void validateField(Field &field) override
    {
        if (m_handlers.validateField)
            m_handlers.validateField(field);
    }

private:
    static void run(const Handler &handler)
    {
        if (handler)
            handler();
    }

    Handlers m_handlers;
};

} // namespace

void TQuote::createRecordSets()
{
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

    using T = FieldType;
    Table1->AddField(QStringLiteral("QuoteID"), T::String, 10);
    Table1->AddField(QStringLiteral("QuoteDate"), T::DateTime);
    Table1->AddField(QStringLiteral("CustomerID"), T::String, 8);
    Table1->AddField(QStringLiteral("EmployeeID"), T::String, 8);
    Table1->AddField(QStringLiteral("AvailableDate"), T::DateTime);
    Table1->AddField(QStringLiteral("Memo"), T::Memo);
    Table1->AddField(QStringLiteral("SubTotal"), T::Integer);
    Table1->AddField(QStringLiteral("ValueAddTax"), T::Integer);
    Table1->AddField(QStringLiteral("Amount"), T::Integer);
    const QString customer = QStringLiteral("CustomerID");
    const QString employee = QStringLiteral("EmployeeID");
    Table1->AddLookupField(QStringLiteral("CUST_ID2"), T::String, 8, customer, tbCUST, customer,
                           customer);
    Table1->AddLookupField(QStringLiteral("CUST_SNA"), T::String, 10, customer, tbCUST,
                           customer, QStringLiteral("CustomerAttribName"));
    Table1->AddLookupField(QStringLiteral("EM_ID"), T::String, 8, employee, tbEMP, employee,
                           employee);
    Table1->AddLookupField(QStringLiteral("EM_NA"), T::String, 10, employee, tbEMP, employee,
                           QStringLiteral("EmployeeName"));

    // The stored Amount column is never written: the line shows Quantity x Price instead.
    Table2->AddField(QStringLiteral("QuoteID"), T::String, 10);
    Table2->AddField(QStringLiteral("SEQ"), T::String, 4);
    Table2->AddField(QStringLiteral("QdetailID"), T::String, 10);
    Table2->AddField(QStringLiteral("ProductID"), T::String, 8);
    Table2->AddField(QStringLiteral("ProductName"), T::String, 60);
    Table2->AddField(QStringLiteral("Quantity"), T::Integer);
    Table2->AddField(QStringLiteral("Unit"), T::String, 4);
    Table2->AddField(QStringLiteral("Price"), T::Integer);
    Table2->AddCalculatedField(QStringLiteral("Amount"), T::Integer);
    Table2->AddField(QStringLiteral("Memo"), T::Memo);

    // Lines in the order they were added, so that item numbers follow it.
    Table2->setIndexFieldNames(QStringLiteral("QuoteID;SEQ"));
    Table2->setMasterSource(DataSource1);
    Table2->setMasterFields(QStringLiteral("QuoteID"));
    Table2->setDetailFields(QStringLiteral("QuoteID"));
    Table2->setCachedUpdates(true);
    tbQuote->setIndexFieldNames(QStringLiteral("QuoteID"));
    tbDetail->setIndexFieldNames(QStringLiteral("QuoteID"));
    tbCUST->setIndexFieldNames(QStringLiteral("CustomerID"));
    tbPROD->setIndexFieldNames(QStringLiteral("ProductID"));
}

void TQuote::createControls()
{
    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                                QStringLiteral("Button1"));
    ToolBar->setInsertEnabledWhileEditing(true);
    takeToolBarButtons(*this, *ToolBar);
    Button1 = ToolBar->closeButton;
    createPrintButton();

    QWidget *header = createHeader();
    createGrid();
    QWidget *totals = createTotals();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);
    layout->addWidget(ToolBar);
    layout->addWidget(header);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(totals);
}

QWidget *TQuote::createHeader()
{
    using namespace fieldcolor;
    auto *header = new QWidget(this);
    DBEdit1 = newEdit(header, "DBEdit1", DataSource1, "QuoteID", Generated);
    DBEdit2 = newEdit(header, "DBEdit2", DataSource1, "QuoteDate", Required);
    DateTimePicker1 = newPicker(header, "DateTimePicker1");
    EditCUSTID = newLookup(header, "EditCUSTID", DataSource1, "CUST_ID2", DataSource3,
                           "CustomerID", "CustomerID;CustomerAttribName");
    DBEdit3 = newEdit(header, "DBEdit3", DataSource1, "CUST_SNA", Teal);
    EditEMPID = newLookup(header, "EditEMPID", DataSource1, "EM_ID", DataSource5,
                          "EmployeeID", "EmployeeID;EmployeeName");
    DBEdit4 = newEdit(header, "DBEdit4", DataSource1, "EM_NA", Teal);
    DBEdit5 = newEdit(header, "DBEdit5", DataSource1, "AvailableDate", Written);
    DateTimePicker2 = newPicker(header, "DateTimePicker2");
    DBMemo1 = new DBMemo(header);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setDataSource(DataSource1);
    DBMemo1->setDataField(QStringLiteral("Memo"));
    setInputMethodName(DBMemo1, ime::Cangjie);
    paintTeal(DBEdit3);
    paintTeal(DBEdit4);
    DBEdit1->setEnabled(false);

    Label1 = newLabel(header, "Label1", "單據編號", DBEdit1);
    Label2 = newLabel(header, "Label2", "單據日期", DBEdit2);
    Label3 = newLabel(header, "Label3", "客戶編號", EditCUSTID);
    Label4 = newLabel(header, "Label4", "員工編號", EditEMPID);
    Label5 = newLabel(header, "Label5", "有效日期", DBEdit5);
    Label6 = newLabel(header, "Label6", "備註", DBMemo1);

    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(8, 4, 8, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(DBEdit1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addLayout(withPicker(DBEdit2, DateTimePicker1), 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(EditCUSTID, 2, 1);
    grid->addWidget(DBEdit3, 2, 2);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(EditEMPID, 3, 1);
    grid->addWidget(DBEdit4, 3, 2);
    grid->addWidget(Label5, 4, 0);
    grid->addLayout(withPicker(DBEdit5, DateTimePicker2), 4, 1);
    grid->addWidget(Label6, 0, 3);
    grid->addWidget(DBMemo1, 1, 3, 4, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 3);
    return header;
}

void TQuote::createGrid()
{
    GridColumn quoteId(QStringLiteral("QuoteID"));
    quoteId.visible = false;
    GridColumn seq(QStringLiteral("SEQ"));
    seq.visible = false;
    GridColumn product(QStringLiteral("ProductID"), QStringLiteral("產品編號"));
    product.editButton = true;
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({quoteId,
                         seq,
                         tealColumn("QdetailID", "項次"),
                         product,
                         {QStringLiteral("ProductName"), QStringLiteral("產品名稱"), 135},
                         {QStringLiteral("Quantity"), QStringLiteral("數量")},
                         {QStringLiteral("Unit"), QStringLiteral("單位")},
                         {QStringLiteral("Price"), QStringLiteral("單價")},
                         tealColumn("Amount", "金額"),
                         {QStringLiteral("Memo"), QStringLiteral("備註")}});
    DBGrid1->setDataSource(DataSource2);
    setInputMethodName(DBGrid1, ime::Cangjie);
}

QWidget *TQuote::createTotals()
{
    using namespace fieldcolor;
    auto *totals = new QWidget(this);
    DBEdit6 = newEdit(totals, "DBEdit6", DataSource1, "SubTotal", Written);
    DBEdit7 = newEdit(totals, "DBEdit7", DataSource1, "ValueAddTax", Written);
    DBEdit8 = newEdit(totals, "DBEdit8", DataSource1, "Amount", Written);
    Label7 = newLabel(totals, "Label7", "合計金額", DBEdit6);
    Label8 = newLabel(totals, "Label8", "營業稅額", DBEdit7);
    Label9 = newLabel(totals, "Label9", "總計金額", DBEdit8);
    auto *row = new QHBoxLayout(totals);
    row->setContentsMargins(8, 0, 8, 0);
    row->addStretch(1);
    for (const auto &[label, edit] : {std::pair{Label7, DBEdit6}, {Label8, DBEdit7},
                                      {Label9, DBEdit8}}) {
        edit->setEnabled(false); // the system writes them
        edit->setFixedWidth(100);
        row->addWidget(label);
        row->addWidget(edit);
        row->addSpacing(12);
    }
    return totals;
}

void TQuote::connectHandlers()
{
    const QList<std::pair<QAbstractButton *, void (TQuote::*)()>> clicks{
        {sbFirst, &TQuote::sbFirstClick},   {sbPrior, &TQuote::sbPriorClick},
        {sbNext, &TQuote::sbNextClick},     {sbLast, &TQuote::sbLastClick},
        {sbInsert, &TQuote::sbInsertClick}, {sbDelete, &TQuote::sbDeleteClick},
        {sbEdit, &TQuote::sbEditClick},     {sbPost, &TQuote::sbPostClick},
        {sbCancel, &TQuote::sbCancelClick}, {sbRefresh, &TQuote::sbRefreshClick},
        {Button1, &TQuote::Button1Click},
    };
    for (const auto &[button, handler] : clicks)
        connectGuarded(button, &QAbstractButton::clicked, this,
                       [this, h = handler] { (this->*h)(); });
    connectGuarded(DateTimePicker1, &DatePicker::picked, this,
                   [this] { DateTimePicker1Change(); });
    connectGuarded(DateTimePicker2, &DatePicker::picked, this,
                   [this] { DateTimePicker2Change(); });
    connectGuarded(DBGrid1, &DBGrid::editButtonClicked, this,
                   [this] { DBGrid1EditButtonClick(); });

    HandlerRules::Handlers header;
    header.newRecord = [this] { Table1NewRecord(); };
    header.beforePost = [this] { Table1BeforePost(); };
    header.beforeDelete = [this] { Table1BeforeDelete(); };
    Table1->setRules(new HandlerRules(this, std::move(header)));
    connect(Table1, &DataSet::recordInserted, this, [this] { Table1AfterInsert(); });

    HandlerRules::Handlers lines;
    lines.newRecord = [this] { Table2NewRecord(); };
    lines.calculateFields = [this] { Table2CalcFields(); };
    lines.beforePost = [this] { Table2BeforePost(); };
    lines.validateField = [this](Field &field) {
        if (field.FieldName() == QLatin1String("ProductID"))
            Table2ProductIDValidate();
    };
    Table2->setRules(new HandlerRules(this, std::move(lines)));
    connect(Table2, &DataSet::posted, this, [this] { Table2AfterPost(); });
    connect(Table2, &DataSet::recordDeleted, this, [this] { Table2AfterDelete(); });
}

} // namespace tb
