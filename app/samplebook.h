#pragma once

#include "app/samplebusiness.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <utility>
#include <vector>

namespace tb {

class TableCursor;

// Fills an empty book with a small, believable business to try the application on: the
// five code tables, about sixty products, twenty customers, ten suppliers, eight employees
// and fifteen quotations of the last four months. Every row goes through the record sets,
// so the fields' own rules (text widths, characters that can be stored) hold for it, and
// identifiers, business numbers, national identity numbers, quotation numbers and totals
// come from the same rules the screens use. The same seed and the same today give the same
// book.
class SampleBook
{
public:
    static constexpr quint32 Seed = 20261208;
    static constexpr int Quotations = 15;
    static constexpr int MaxLinesPerQuotation = 12;

    // alias names the (new, empty) book; today is the last day a quotation may carry.
    SampleBook(QString alias, QDate today, quint32 seed = Seed);

    // Writes everything in one transaction: a failure leaves the book as empty as it was.
    // Throws DatabaseError.
    void write();

private:
    struct ProductRef
    {
        QString id, name, unit;
        int priceA = 0, priceB = 0;
    };
    using Values = std::initializer_list<std::pair<QString, QVariant>>;

    void writeCodeTables();
    void writeCodeTable(const QString &table, const QString &idField, const QString &nameField,
                        const QString &prefix, const std::vector<sample::CodeEntry> &entries);
    void writeProducts();
    void writePartners(const QString &table, const QString &prefix,
                       const std::vector<sample::Company> &companies);
    void writeEmployees();
    void writeQuotations();
    void writeQuotation(const QDate &date, const QString &quoteId);
    // A quantity a shop sells of a product sold in the unit.
    int quantityFor(const QString &unit);

    // Appends a row to the cursor's table with the values given by field name.
    static void append(TableCursor &cursor, Values values);
    // The identifier after last on the screens' rule for the prefix.
    static QString nextId(const QString &last, const QString &prefix, int digits);

    QString m_alias;
    QDate m_today;
    sample::DetailMaker m_details;
    std::vector<ProductRef> m_products;
    QStringList m_customerIds;
    QStringList m_salesIds; // employees who write quotations
    QHash<QString, QString> m_lastQuoteOfMonth;
};

} // namespace tb
