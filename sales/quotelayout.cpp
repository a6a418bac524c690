// TQuote, part one: its controls bound to the session's record sets, and which handler each
// event runs.

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
#include "data/records/tablecursor.h"
#include "sales/quotesession.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tb {

namespace {

// Teal with white text: what the user reads but never types.
const QColor Teal(0x00, 0x80, 0x80);
const QColor TealText(Qt::white);
// The date both pickers show until the user picks another.
const QDate PickerStart(2006, 8, 22);

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

} // namespace

void TQuote::createDataSources()
{
    DataSource1 = findChild<DataSource *>(QStringLiteral("DataSource1"));
    DataSource2 = newSource(this, "DataSource2", m_session->lines());
    DataSource3 = newSource(this, "DataSource3", m_session->customers());
    DataSource4 = newSource(this, "DataSource4", m_session->products());
    DataSource5 = newSource(this, "DataSource5", m_session->employees());
}

void TQuote::takeButtons()
{
    sbFirst = ToolBar->sbFirst;
    sbPrior = ToolBar->sbPrior;
    sbNext = ToolBar->sbNext;
    sbLast = ToolBar->sbLast;
    sbInsert = ToolBar->sbInsert;
    sbDelete = ToolBar->sbDelete;
    sbEdit = ToolBar->sbEdit;
    sbPost = ToolBar->sbPost;
    sbCancel = ToolBar->sbCancel;
    sbRefresh = ToolBar->sbRefresh;
}

void TQuote::createControls()
{
    ToolBar = new RecordToolBar(this, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                                QStringLiteral("Button1"));
    ToolBar->setInsertEnabledWhileEditing(true);
    takeButtons();
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
}

void TQuote::connectSession()
{
    connect(m_session, &QuoteSession::editingChanged, this, &TQuote::showEditingMode);
    connect(m_session, &QuoteSession::checkRefused, this, &TQuote::showRefusal);
    connect(m_session, &QuoteSession::numberMoved, this,
            [this](const QString &from, const QString &to) {
                m_numberMovedText = NumberTakenMessage.arg(from, to);
            });
}

} // namespace tb
