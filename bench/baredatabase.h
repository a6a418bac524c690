#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

namespace tb {

// The benchmark's yardstick: the same work as each user action, done by bare SQL
// statements (prepared once, as SQLite is best used) on a connection of its own, with the
// application's settings (WAL, full synchronisation).
class BareDatabase
{
public:
    BareDatabase();
    ~BareDatabase();

    void open(const QString &path);
    void close();

    // Product screen.
    void firstProduct();
    void lastProduct();
    QString nextProduct(const QString &after); // the next product number ("" at the end)
    QString lastProductId();
    void insertProduct(const QVariantList &values); // the screen's columns, in its order
    void deleteProductsAfter(const QString &productId);

    // Query screen statements: every row read (a grid's first screen: at most maxRows).
    int selectProducts(const QString &whereColumn, const QVariant &value, int maxRows);
    int lastProducts(int maxRows); // the listing's last rows, from the end
    void productById(const QString &productId);
    QString productName(const QString &productId);
    // The goods-receipt date of the first product from this one on that has one, as stored
    // (yyyy-mm-dd).
    QString purchaseDateFrom(const QString &productId);

    // Quotation numbering and lines.
    QString lastQuoteIdBetween(const QString &low, const QString &high);
    QString lastLineValue(const QString &quoteId, const QString &column); // "SEQ"/"QdetailID"
    void saveQuote(const QVariantList &header, const std::vector<QVariantList> &lines);
    void deleteQuote(const QString &quoteId);
    // What a printed quotation shows: its header, customer, salesperson and lines, every
    // value read as text. Returns the lines read.
    int readQuote(const QString &quoteId);

    qint64 count(const QString &sql, const QVariantList &values = {});

private:
    QSqlQuery &prepared(const QString &sql);
    void run(QSqlQuery &query, const QVariantList &values);
    static void readRow(const QSqlQuery &query);

    QString m_name;
    QSqlDatabase m_db;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_queries;
};

} // namespace tb
