// TQuote, part four: "列印", the print preview of the quotation shown.

#include "sales/quote.h"

#include "controls/guard.h"
#include "controls/recordtoolbar.h"
#include "sales/quoteprintpreview.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tb {

const QString TQuote::PrintCaption = QStringLiteral("列印");

void TQuote::createPrintButton()
{
    Button2 = new QPushButton(PrintCaption, ToolBar);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFont(Button1->font());
    Button2->setFixedHeight(Button1->minimumHeight());
    if (auto *row = qobject_cast<QHBoxLayout *>(ToolBar->layout()))
        row->insertWidget(row->indexOf(Button1), Button2);
    connectGuarded(Button2, &QAbstractButton::clicked, this, [this] { Button2Click(); });
    m_printWatch.emplace(DataSource1, [this] { updatePrintButton(); });
}

// What is printed is what is stored: not while the window edits, nor while the header has
// changes of its own (a look-up box chosen in browse mode puts it into edit).
void TQuote::updatePrintButton()
{
    if (Button2)
        Button2->setEnabled(m_session->showsStoredQuotation());
}

void TQuote::Button2Click()
{
    if (!m_session->showsStoredQuotation())
        return;
    QuotePrintPreview::preview(m_session->quoteId(), this);
}

} // namespace tb
