#pragma once

#include "controls/workwindow.h"
#include "data/records/dataset.h"
#include "controls/datasetwatch.h"

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
class TableCursor;

// The quotation screen: headers in QuoteMaster, their lines in QuoteDetail.
//
// Browse mode shows and navigates; editing mode (after "新增" or "修改") changes one
// quotation, whose line changes stay pending in Table2 until "儲存" writes the header and
// every pending line in one transaction, or "取消" drops them. The line grid takes line
// changes only in editing mode.
class TQuote : public WorkWindow
{
    Q_OBJECT
public:
    TQuote();

    TableCursor *Table1;   // QuoteMaster, the headers the user works on
    TableCursor *Table2;   // QuoteDetail, the current header's lines by SEQ (cached updates)
    TableCursor *tbQuote;  // QuoteMaster by QuoteID, for the monthly numbering
    TableCursor *tbDetail; // QuoteDetail; the line numbers come from Table2, which also
                           // holds the pending lines
    TableCursor *tbCUST;   // Customer by CustomerID: look-up list and customer check
    TableCursor *tbEMP;    // Employee: look-up list
    TableCursor *tbPROD;   // Product by ProductID: product check
    DataSource *DataSource1;
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

    static const QString ProductMissing;      // "商品編號不存在!"
    static const QString CustomerBlank;       // "客戶編號不可空白!"
    static const QString CustomerWrong;       // "客戶編號輸入錯誤!"
    static const QString DeleteQuestion;      // "確定刪除本筆訂單資料?"
    static const QString DeleteWhileChanged;  // the header has a change not yet saved
    static const QString NumberTakenMessage;  // the number changed at save: %1 old, %2 new
    static const QString PrintCaption;        // "列印"

    bool isEditingMode() const { return m_editing; }

    // -- the header (quote.cpp)
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
    void Table1NewRecord();
    void Table1AfterInsert();
    void Table1BeforePost();
    void Table1BeforeDelete();
    // Subtotal, tax and total of the header from its lines (stored and pending).
    void RecalcTotals();

    // -- printing (quoteprint.cpp)
    // "列印": the print preview of the quotation shown, as it is stored. Only in browse
    // mode with a stored quotation current and unchanged.
    void Button2Click();

    // -- the lines (quotelines.cpp)
    void Table2NewRecord();
    void Table2CalcFields();
    void Table2ProductIDValidate();
    void Table2BeforePost();
    void Table2AfterPost();
    void Table2AfterDelete();
    void DBGrid1EditButtonClick();

protected:
    // The close box acts as "結束" does: not in editing mode, so that no half-made
    // quotation is left behind.
    void closeEvent(QCloseEvent *event) override;

private:
    // quotelayout.cpp
    void createRecordSets();
    void createControls();
    QWidget *createHeader();
    QWidget *createTotals();
    void createGrid();
    void connectHandlers();

    void FormCreate();
    void setEditingMode(bool editing);
    QString quoteId() const;
    // The month's next number after the highest one stored.
    QString nextFreeNumber(const QString &prefix);
    // At save: a new quotation whose number was taken meanwhile (another copy of the
    // application on the same file) moves, lines included, to the month's next free one.
    void moveToFreeNumber();
    void checkCurrentProduct();
    // The customer checks of the header: a warning and a silent stop when they fail.
    void checkCustomer();
    bool productExists(const QVariant &productId);
    // The lines Table2 holds for the header, stored and pending, in grid order.
    QVector<RowSnapshot> lineRows() const;
    QString highestLineValue(const QString &fieldName) const;
    // Item numbers 001, 002, ... in grid order after a deletion.
    void renumberLines();
    // Gives every line the header's number (Table2 holds them under the old one).
    void moveLinesTo(const QString &newQuoteId);
    void deleteAllLines();
    // quoteprint.cpp
    void createPrintButton();
    void updatePrintButton();

    bool m_editing = false;
    bool m_linesQuiet = false;        // renumbering or moving lines: no totals per line
    bool m_deletingQuote = false;     // all lines go: no totals or renumbering per line
    QString m_insertedNumber;         // the number the new quotation got at its insert
    bool m_deleteConfirmed = false;   // the delete button has asked already
    bool m_productMissingTold = false; // the product check has told of an unknown product
    std::optional<DataSetWatch> m_printWatch; // "列印" follows the header's state
};

extern TQuote *Quote;

} // namespace tb
