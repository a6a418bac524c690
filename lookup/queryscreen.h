#pragma once

#include "controls/datasetwatch.h"
#include "controls/workwindow.h"
#include "data/records/searchstatement.h"
#include "lookup/recordscreenaccess.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tb {

class ConnectionQuery;
class DataSource;
class DBGrid;

// One item of the column list: its caption and the column it searches.
struct QueryItem
{
    QString caption;
    SearchColumn column;

    static QueryItem text(const QString &caption, const QString &whereFragment)
    {
        return {caption, {whereFragment, false}};
    }
    static QueryItem date(const QString &caption, const QString &whereFragment)
    {
        return {caption, {whereFragment, true}};
    }
};

// What tells one query screen from another.
struct QueryScreenSetup
{
    enum class Size { Large, Small }; // master tables, code tables

    QString name;    // objectName and instance name ("R_product")
    QString caption; // "商品查詢"
    Size size = Size::Large;
    QString table;   // "Product"
    QStringList selectLines;
    QString fromLine; // the bare from-line: every row
    QList<QueryItem> items;
    QList<std::pair<int, int>> widths; // result column, pixels; set after every search
    QString keyTitle; // result column holding the key ("商品編號")
    QString keyField; // the key's field in the maintenance screen's table ("ProductID")
    bool keepResultOnCancel = false; // the employee screen stays open under its query
};

// A query screen: searches one table by a chosen column and brings the maintenance screen
// onto the record double-clicked in the result. One design, nine screens: each is a setup.
//
// The screen is created once and only hidden, so the value, the chosen column and (where
// "取消" leaves it open) the result stay as the user left them.
class QueryScreen : public WorkWindow
{
    Q_OBJECT
public:
    using Size = QueryScreenSetup::Size;

    explicit QueryScreen(const QueryScreenSetup &setup);
    ~QueryScreen() override;

    static const QString SearchValueCaption;  // "查詢資料"
    static const QString SearchColumnCaption; // "查詢欄位"
    static const QString OkCaption;           // "確定"
    static const QString CancelCaption;       // "取消"
    static const QString ExportCaption;       // "匯出..."
    static const QString ExportDialogCaption; // "匯出 CSV"
    static const QString CsvFilter;           // "CSV 檔案 (*.csv)"
    static const QString ExportedMessage;     // "已匯出 %1 筆資料至 %2。"
    // The maintenance screen stays usable under the employee query screen: a record being
    // edited there is not moved away from (which would save it unchecked, or drop it).
    static const QString EditingMessage;

    const QueryScreenSetup &setup() const { return m_setup; }
    // The maintenance screen this screen hands over to ("取消", a double-click); start-up
    // gives it. Without one the screen only hides.
    void setMaintenanceScreen(std::unique_ptr<RecordScreenAccess> access);

    // "確定": the search. A value the database cannot take (a date that is no date) shows
    // its message and leaves the grid empty, the value and the column as they were.
    void Button1Click();
    // "取消": empties the value, closes the result (unless the screen keeps it) and goes
    // back to the maintenance screen.
    void Button2Click();
    // Brings the maintenance screen onto the current result row's record, in browse mode.
    // Without a current row it does nothing. A record its boxes put into edit while
    // browsing is posted first, through its checks (a refusal shows the check's message and
    // leaves both screens as they are); while the maintenance screen is in editing mode it
    // says so and leaves both screens as they are.
    void DBGrid1DblClick();
    // "匯出...": asks for a file (proposing "<caption>.csv" in the documents folder), then
    // exports to it. Enabled while the grid holds a result.
    void Button3Click();
    // The whole result, not only the rows on screen, a page at a time with a progress
    // dialog that can be cancelled; says how many rows went. Nothing without a result.
    void exportTo(const QString &path);
    QString proposedExportPath() const;

private:
    void createControls();
    void setColumnWidths();
    void showMaintenanceScreen();
    void updateExportButton();

    QLabel *Label1;
    QLineEdit *Edit1;
    QLabel *Label2;
    QComboBox *ComboBox1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3; // "匯出...": the whole result as CSV
    DBGrid *DBGrid1;
    DataSource *DataSource1;
    ConnectionQuery *ADOQuery1;

    QueryScreenSetup m_setup;
    SearchStatement m_statement;
    std::unique_ptr<RecordScreenAccess> m_maintenance;
    std::optional<DataSetWatch> m_exportWatch;
};

} // namespace tb
