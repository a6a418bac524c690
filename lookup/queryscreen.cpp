#include "lookup/queryscreen.h"

#include "controls/dbgrid.h"
#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/windowframe.h"
#include "data/book/database.h"
#include "data/records/datasource.h"
#include "data/records/field.h"
#include "data/records/sqlquery.h"
#include "lookup/csvexport.h"
#include "controls/savefiledialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

namespace tb {

const QString QueryScreen::SearchValueCaption = QStringLiteral("查詢資料");
const QString QueryScreen::SearchColumnCaption = QStringLiteral("查詢欄位");
const QString QueryScreen::OkCaption = QStringLiteral("確定");
const QString QueryScreen::CancelCaption = QStringLiteral("取消");
const QString QueryScreen::ExportCaption = QStringLiteral("匯出...");
const QString QueryScreen::ExportDialogCaption = QStringLiteral("匯出 CSV");
const QString QueryScreen::CsvFilter = QStringLiteral("CSV 檔案 (*.csv)");
const QString QueryScreen::ExportedMessage = QStringLiteral("已匯出 %1 筆資料至 %2。");
const QString QueryScreen::EditingMessage =
    QStringLiteral("資料正在編輯中,請先儲存或取消。");

namespace {

// The value and the column on two rows above the grid, each with its button, and the
// export beside the second. The narrow code-table screens make room for it by narrower
// boxes.
const QRect Label1Rect(8, 14, 60, 20);
const QRect Label2Rect(8, 46, 60, 20);
const QRect LargeGridRect(8, 96, 665, 217);
const QRect SmallGridRect(8, 80, 339, 217);

struct TopRow
{
    QRect edit1, button1, comboBox1, button2, button3;
};
const TopRow LargeTop{{72, 12, 170, 24}, {256, 12, 75, 25}, {72, 44, 170, 24},
                      {256, 44, 75, 25}, {340, 44, 75, 25}};
const TopRow SmallTop{{72, 12, 116, 24}, {196, 12, 72, 25}, {72, 44, 116, 24},
                      {196, 44, 72, 25}, {274, 44, 72, 25}};

QPushButton *button(const QString &name, const QString &caption, const QRect &rect,
                    QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(rect);
    return b;
}

QLabel *label(const QString &name, const QString &caption, const QRect &rect, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(rect);
    return l;
}

} // namespace

QueryScreen::QueryScreen(const QueryScreenSetup &setup)
    : WorkWindow(setup.name, setup.caption, Frame::NoCaptionButtons),
      m_setup(setup),
      m_statement(setup.table, setup.selectLines, setup.fromLine, [&setup] {
          QList<SearchColumn> columns;
          for (const QueryItem &item : setup.items)
              columns << item.column;
          return columns;
      }())
{
    if (setup.size == Size::Large)
        placeWindow(this, 200, 200, 696, 345);
    else
        placeWindow(this, 200, 200, 360, 340);

    ADOQuery1 = new ConnectionQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnectionString(Database::connectionString());
    // Read a page at a time in key order: a result of a million rows is never held whole.
    ADOQuery1->setUniqueKey(setup.keyTitle);
    m_statement.declareFields(*ADOQuery1);
    DataSource1 = new DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(ADOQuery1);

    createControls();
}

QueryScreen::~QueryScreen() = default;

void QueryScreen::createControls()
{
    const TopRow &top = m_setup.size == Size::Large ? LargeTop : SmallTop;
    Label1 = label(QStringLiteral("Label1"), SearchValueCaption, Label1Rect, this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(top.edit1);
    Label1->setBuddy(Edit1);
    setInputMethodName(Edit1, ime::Zhuyin);

    Label2 = label(QStringLiteral("Label2"), SearchColumnCaption, Label2Rect, this);
    // Pick-only: a typed column would leave the statement without its from-line.
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(top.comboBox1);
    for (const QueryItem &item : m_setup.items)
        ComboBox1->addItem(item.caption);
    ComboBox1->setCurrentIndex(0);
    Label2->setBuddy(ComboBox1);
    setInputMethodName(ComboBox1, ime::Zhuyin);

    Button1 = button(QStringLiteral("Button1"), OkCaption, top.button1, this);
    Button2 = button(QStringLiteral("Button2"), CancelCaption, top.button2, this);
    Button3 = button(QStringLiteral("Button3"), ExportCaption, top.button3, this);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(m_setup.size == Size::Large ? LargeGridRect : SmallGridRect);
    // The screens only read what they find; records change on the maintenance screen.
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(DataSource1);
    setInputMethodName(DBGrid1, ime::Alphanumeric);

    connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connectGuarded(Edit1, &QLineEdit::returnPressed, this, [this] { Button1Click(); });
    connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connectGuarded(DBGrid1, &DBGrid::dblClicked, this, [this] { DBGrid1DblClick(); });
    connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    m_exportWatch.emplace(DataSource1, [this] { updateExportButton(); });
    updateExportButton();
}

void QueryScreen::Button1Click()
{
    ADOQuery1->Close();
    ADOQuery1->SQL().Clear();
    // The file the alias names now: the query reaches the same book as the screens.
    ADOQuery1->setConnectionString(Database::connectionString());
    m_statement.applyTo(*ADOQuery1, ComboBox1->currentIndex(), Edit1->text());
    ADOQuery1->Open();
    setColumnWidths();
}

void QueryScreen::Button2Click()
{
    Edit1->clear();
    if (!m_setup.keepResultOnCancel)
        ADOQuery1->Close();
    showMaintenanceScreen();
}

void QueryScreen::setMaintenanceScreen(std::unique_ptr<RecordScreenAccess> access)
{
    m_maintenance = std::move(access);
}

void QueryScreen::DBGrid1DblClick()
{
    if (!ADOQuery1->HasCurrentRecord())
        return;
    const QString key = ADOQuery1->FieldByName(m_setup.keyTitle)->AsString();
    RecordScreenAccess *screen =
        m_maintenance && m_maintenance->window() ? m_maintenance.get() : nullptr;
    // What was typed while browsing is kept, or its check's refusal keeps this screen up.
    if (screen && screen->recordEditing())
        screen->postAutomaticEdit();
    if (screen && screen->recordEditing()) {
        ShowMessage(EditingMessage);
        return;
    }
    if (screen)
        screen->openAt(m_setup.keyField, key);
    ADOQuery1->Close();
    showMaintenanceScreen();
}

void QueryScreen::updateExportButton()
{
    Button3->setEnabled(ADOQuery1->Active() && !ADOQuery1->IsEmpty());
}

QString QueryScreen::proposedExportPath() const
{
    return QDir(documentsFolder()).filePath(windowTitle() + QStringLiteral(".csv"));
}

void QueryScreen::Button3Click()
{
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return;
    const QString path =
        askSaveFile(this, QStringLiteral("ExportDialog"), ExportDialogCaption, CsvFilter,
                    QStringLiteral("csv"), QFileInfo(proposedExportPath()).fileName());
    if (!path.isEmpty())
        exportTo(path);
}

void QueryScreen::exportTo(const QString &path)
{
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return;
    const CsvExport exporter(*ADOQuery1, CsvExport::gridColumns(*DBGrid1));
    const std::optional<qint64> rows =
        exporter.saveWithProgress(path, ADOQuery1->ResultCount(), this);
    if (rows)
        ShowMessage(ExportedMessage.arg(CsvExport::rowCountText(*rows),
                                        QDir::toNativeSeparators(path)));
}

void QueryScreen::setColumnWidths()
{
    for (const auto &[column, width] : m_setup.widths)
        DBGrid1->setColumnWidthAt(column, width);
}

void QueryScreen::showMaintenanceScreen()
{
    hide();
    if (QWidget *screen = m_maintenance ? m_maintenance->window() : nullptr) {
        screen->show();
        screen->raise();
        screen->activateWindow();
    }
}

} // namespace tb
