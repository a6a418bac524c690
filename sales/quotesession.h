#pragma once

#include "data/records/dataset.h"

#include <QObject>
#include <QString>

#include <memory>

namespace tb {

class QuoteLineRules;
class RecordRules;
class TableCursor;

// One quotation being looked at or worked on, without any window: its record sets (the
// headers in QuoteMaster, the current header's lines in QuoteDetail) and every rule that
// goes with them: the monthly number, the defaults of a new line, the line amount, the
// product check, the item numbers, the totals with their 5 % tax, the move to a free
// number, the checks before saving, the one-transaction save, cancel and delete.
//
// Browse mode shows and navigates; editing mode (after newQuotation or edit) changes one
// quotation, whose line changes stay pending in the lines until save writes the header and
// every pending line in one transaction, or cancel drops them. Whatever needs the user
// (a refused check, a moved number) is told by a signal; the caller asks its questions
// (the delete question) before calling the intention.
class QuoteSession : public QObject
{
    Q_OBJECT
public:
    // Which check refused, so that a window can show it the way its users know it.
    enum class Check { Product, Customer, Delete };
    Q_ENUM(Check)
    enum class SaveResult { Saved, HeaderChangedMeanwhile };
    Q_ENUM(SaveResult)

    static const QString ProductMissing;     // "商品編號不存在!"
    static const QString CustomerBlank;      // "客戶編號不可空白!"
    static const QString CustomerWrong;      // "客戶編號輸入錯誤!"
    static const QString DeleteWhileChanged; // the header has a change not yet saved

    explicit QuoteSession(QObject *parent = nullptr);
    ~QuoteSession() override;

    // Opens the record sets: a book without these tables stops here.
    void open();

    TableCursor *header() const { return m_header; }       // QuoteMaster ("Table1")
    TableCursor *lines() const { return m_lines; }         // QuoteDetail ("Table2")
    TableCursor *customers() const { return m_customers; } // Customer ("tbCUST")
    TableCursor *employees() const { return m_employees; } // Employee ("tbEMP")
    TableCursor *products() const { return m_products; }   // Product ("tbPROD")

    bool isEditing() const { return m_editing; }
    QString quoteId() const;
    // Browse mode with a stored quotation current and unchanged: what may be printed.
    bool showsStoredQuotation() const;

    // -- browse mode
    void first();
    void prior();
    void next();
    void last();
    // Reads the headers again, and the current one's lines.
    void refresh();

    // -- editing mode
    // A new quotation, numbered with the month's next number (or, while editing, nothing
    // new: the editing goes on).
    void newQuotation();
    void edit();
    // A new line at the end of the lines; posted when another line becomes current.
    void addLine();
    void setLineProduct(const QString &productId, const QString &productName);
    void setLineQuantity(qint64 quantity);
    void setLinePrice(qint64 price);
    // Posts the line being changed (its number and the totals follow).
    void postLine();
    void deleteLine();

    // The checks before a save, each of which may tell the user (checkRefused) and stop
    // silently; a new quotation whose number another user has stored meanwhile moves to
    // the month's next free one. Nothing is written yet.
    void checkBeforeSave();
    // Header and pending lines in one transaction; a failure throws and leaves every
    // record set as it stood. HeaderChangedMeanwhile: another user changed the stored
    // header, nothing was written and editing goes on.
    SaveResult write();
    // checkBeforeSave, then write.
    SaveResult save();
    void cancel();

    // False, after telling why (checkRefused), when the current quotation may not be
    // deleted now; false without a word when there is none.
    bool mayDelete();
    // Deletes the current quotation and its lines in one transaction. The caller has
    // asked the user.
    void deleteQuotation();

    // Subtotal, tax and total of the header from its lines (stored and pending).
    void recalculateTotals();

signals:
    void editingChanged(bool editing);
    void totalsChanged();
    // After a save: the new quotation was stored under another number than it was given.
    void numberMoved(const QString &from, const QString &to);
    void checkRefused(const QString &message, QuoteSession::Check check);

private:
    class HeaderRules;
    friend class HeaderRules;
    friend class QuoteLineRules;

    void setEditing(bool editing);
    void headerNewRecord();
    void numberNewQuotation();
    void headerBeforePost();
    void headerBeforeDelete();
    void checkCustomer();
    void checkCurrentProduct();
    // The month's next number after the highest one stored.
    QString nextFreeNumber(const QString &prefix);
    // At save: a new quotation whose number was taken meanwhile (another copy of the
    // application on the same book) moves, lines included, to the month's next free one.
    void moveToFreeNumber();
    SaveResult writeInTransaction();
    void productUnknown();
    // A line the user posted or deleted (bulk work runs with the lines' controls off and
    // settles once at its end).
    void linePosted();
    void lineDeleted();

    TableCursor *m_header;
    TableCursor *m_lines;
    TableCursor *m_quotes;    // QuoteMaster by QuoteID, for the monthly numbering
    TableCursor *m_allLines;  // QuoteDetail ("tbDetail"), opened as the window always has
    TableCursor *m_customers;
    TableCursor *m_employees;
    TableCursor *m_products;
    std::unique_ptr<HeaderRules> m_headerRules;
    std::unique_ptr<QuoteLineRules> m_lineRules;

    bool m_editing = false;
    QString m_insertedNumber;          // the number the new quotation got at its insert
    bool m_deleteConfirmed = false;    // deleteQuotation is under way
    bool m_productMissingTold = false; // the product check has told of an unknown product
};

} // namespace tb
