#pragma once

#include "controls/datasetwatch.h"
#include "controls/workwindow.h"
#include "sales/quotesession.h"

#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QToolButton;

namespace tb {

class DataSource;
class DatePicker;
class DBEdit;
class DBGrid;
class DBLookupComboBox;
class DBMemo;
class RecordToolBar;

// The quotation screen: it shows a QuoteSession (the headers, the current one's lines and
// their rules) and hands the user's clicks to it. Browse mode shows and navigates; editing
// mode (after "新增" or "修改") changes one quotation until "儲存" or "取消". The line grid
// takes line changes only in editing mode.
class TQuote : public WorkWindow
{
    Q_OBJECT
public:
    TQuote();

    QuoteSession *session() const { return m_session; }
    bool isEditingMode() const { return m_session->isEditing(); }

    static const QString DeleteQuestion;      // "確定刪除本筆訂單資料?"
    static const QString NumberTakenMessage;  // the number changed at save: %1 old, %2 new
    static const QString PrintCaption;        // "列印"

    // -- the toolbar and the buttons (quote.cpp)
    void sbFirstClick();
    void sbPriorClick();
    void sbNextClick();
    void sbLastClick();
    void sbInsertClick();
    void sbDeleteClick();
    void sbEditClick();
    void sbPostClick();
    void sbCancelClick();
    void sbRefreshClick();
    void Button1Click();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void DBGrid1EditButtonClick();
    // "列印": the print preview of the quotation shown, as it is stored (quoteprint.cpp).
    void Button2Click();

protected:
    // The close box acts as "結束" does: not in editing mode, so that no half-made
    // quotation is left behind.
    void closeEvent(QCloseEvent *event) override;

private:
    // quotelayout.cpp
    void createDataSources();
    void createControls();
    void takeButtons();
    QWidget *createHeader();
    QWidget *createTotals();
    void createGrid();
    void connectHandlers();
    void connectSession();

    void showEditingMode(bool editing);
    void showRefusal(const QString &message, QuoteSession::Check check);
    // quoteprint.cpp
    void createPrintButton();
    void updatePrintButton();

    QuoteSession *m_session;
    DataSource *DataSource1; // the session's, over the headers
    DataSource *DataSource2;
    DataSource *DataSource3;
    DataSource *DataSource4;
    DataSource *DataSource5;

    RecordToolBar *ToolBar;
    QToolButton *sbFirst, *sbPrior, *sbNext, *sbLast, *sbInsert, *sbDelete, *sbEdit, *sbPost,
        *sbCancel, *sbRefresh;
    QPushButton *Button1; // "結束"
    QPushButton *Button2 = nullptr; // "列印", beside "結束"
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
    DBEdit *DBEdit1; // QuoteID
    DBEdit *DBEdit2; // QuoteDate
    DBEdit *DBEdit3; // CUST_SNA
    DBEdit *DBEdit4; // EM_NA
    DBEdit *DBEdit5; // AvailableDate
    DBEdit *DBEdit6; // SubTotal
    DBEdit *DBEdit7; // ValueAddTax
    DBEdit *DBEdit8; // Amount
    DatePicker *DateTimePicker1;
    DatePicker *DateTimePicker2;
    DBLookupComboBox *EditCUSTID;
    DBLookupComboBox *EditEMPID;
    DBMemo *DBMemo1;
    DBGrid *DBGrid1;

    std::optional<DataSetWatch> m_printWatch; // "列印" follows the header's state
    QString m_numberMovedText; // the save moved the new quotation: told after the wait
};

extern TQuote *Quote;

} // namespace tb
