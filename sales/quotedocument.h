#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

namespace tb {

// The business that raises the quotations, as its printed pages head them: the settings
// entries company/name, company/address, company/telephone and company/businessNumber.
struct CompanyInfo
{
    QString name;
    QString address;
    QString telephone;
    QString businessNumber;

    static CompanyInfo fromSettings();
};

// One line of a printed quotation.
struct QuoteDocumentLine
{
    QString item; // QdetailID, "001"
    QString productId;
    QString productName;
    qint64 quantity = 0;
    QString unit;
    qint64 price = 0;
    QString memo;

    // Quantity x price, as the line grid shows it (the stored Amount column is not kept).
    qint64 amount() const { return quantity * price; }
};

// A stored quotation as it is printed: its header, its customer and salesperson, its
// lines in grid order (by SEQ) and the totals as stored.
struct QuoteDocument
{
    CompanyInfo company;
    QString quoteId;
    QDate quoteDate;
    QDate availableDate;
    QString customerId;
    QString customerName;
    QString contact;
    QString telephone;
    QString address;
    QString employeeName;
    QVector<QuoteDocumentLine> lines;
    qint64 subTotal = 0;
    qint64 tax = 0;
    qint64 total = 0;
    QString memo;

    // Reads the quotation from the "misAccess" database; nothing when no quotation has
    // that number. Database failures throw DatabaseError.
    static std::optional<QuoteDocument> read(const QString &quoteId);
};

} // namespace tb
