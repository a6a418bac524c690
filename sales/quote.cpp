// TQuote, part two: the toolbar and its two modes, forwarded to the quotation session, and
// what the session tells shown to the user. The controls are made in quotelayout.cpp.

#include "sales/quote.h"

#include "controls/datepicker.h"
#include "controls/dbedit.h"
#include "controls/dbgrid.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/recordconflict.h"
#include "controls/recordtoolbar.h"
#include "controls/waitcursor.h"
#include "controls/windowframe.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "lookup/productpicker.h"

#include <QCloseEvent>
#include <QDialog>

#include <utility>

namespace tb {

TQuote *Quote = nullptr;

const QString TQuote::DeleteQuestion = QStringLiteral("確定刪除本筆訂單資料?");
const QString TQuote::NumberTakenMessage =
    QStringLiteral("單據編號 %1 已被使用,本筆報價單已改存為 %2!");

TQuote::TQuote()
    : WorkWindow(QStringLiteral("Quote"), QStringLiteral("報價單"), Frame::CloseBox),
      m_session(new QuoteSession(this))
{
    placeWindow(this, 201, 159, 731, 552);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createDataSources();
    createControls();
    connectHandlers();
    connectSession();
    showEditingMode(false);
    DBEdit4->setEnabled(true); // until the modes first switch
    // Opened with the window, so a book without these tables stops start-up here.
    m_session->open();
}

// ---- modes --------------------------------------------------------------------------------

void TQuote::showEditingMode(bool editing)
{
    ToolBar->setEditingMode(editing);
    for (QWidget *control : std::initializer_list<QWidget *>{
             DBEdit2, DateTimePicker1, DBEdit5, DateTimePicker2, DBMemo1, DBEdit4})
        control->setEnabled(editing);
    updatePrintButton();
    // Lines change only while a save can write them.
    DBGrid1->setReadOnly(!(editing && m_session->header()->Editing()));
}

void TQuote::showRefusal(const QString &message, QuoteSession::Check check)
{
    if (check != QuoteSession::Check::Customer) {
        ShowMessage(message);
        return;
    }
    ShowWarning(message);
    DBEdit3->setFocus();
}

void TQuote::closeEvent(QCloseEvent *event)
{
    if (m_session->isEditing()) {
        event->ignore();
        return;
    }
    WorkWindow::closeEvent(event);
}

// ---- the buttons --------------------------------------------------------------------------

void TQuote::sbFirstClick()
{
    m_session->first();
}

void TQuote::sbPriorClick()
{
    m_session->prior();
}

void TQuote::sbNextClick()
{
    m_session->next();
}

void TQuote::sbLastClick()
{
    m_session->last();
}

// The quotation screen has no query screen: "查詢" re-reads the headers and lines.
void TQuote::sbRefreshClick()
{
    m_session->refresh();
}

void TQuote::Button1Click()
{
    returnToMain();
}

void TQuote::sbInsertClick()
{
    m_session->newQuotation();
}

void TQuote::sbEditClick()
{
    m_session->edit();
}

void TQuote::sbPostClick()
{
    // The checks may show their messages: the wait cursor comes only with the writing.
    m_numberMovedText.clear();
    m_session->checkBeforeSave();
    QuoteSession::SaveResult result;
    {
        WaitCursor wait;
        result = m_session->write();
    }
    if (result == QuoteSession::SaveResult::HeaderChangedMeanwhile)
        offerReload(m_session->header()); // the editing mode stays either way
    // Told once the wait is over (the session tells it as the save ends).
    if (const QString moved = std::exchange(m_numberMovedText, QString()); !moved.isEmpty())
        ShowMessage(moved);
}

void TQuote::sbCancelClick()
{
    m_session->cancel();
}

void TQuote::sbDeleteClick()
{
    if (!m_session->mayDelete())
        return;
    // Asked before the book is held: no other copy waits on the question.
    if (!Confirm(DeleteQuestion))
        return;
    WaitCursor wait;
    m_session->deleteQuotation();
}

// The picker's date goes into the box as if typed; the field takes it when the header is
// posted. The pickers never follow the record.
void TQuote::DateTimePicker1Change()
{
    DBEdit2->setText(ShortDate::format(DateTimePicker1->date()));
}

void TQuote::DateTimePicker2Change()
{
    DBEdit5->setText(ShortDate::format(DateTimePicker2->date()));
}

void TQuote::DBGrid1EditButtonClick()
{
    if (DBGrid1->selectedFieldName().compare(QLatin1String("ProductID"), Qt::CaseInsensitive)
        != 0)
        return;
    if (!Form28 || Form28->exec() != QDialog::Accepted)
        return;
    const TProductPicker::Choice chosen = Form28->chosen();
    m_session->setLineProduct(chosen.productId, chosen.productName);
}

} // namespace tb
