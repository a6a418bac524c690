#include "bench/baredatabase.h"

#include "bench/benchsql.h"
#include "data/book/pgdatabase.h"
#include "data/book/pguri.h"

#include <QSqlError>
#include <QSqlRecord>

#include <stdexcept>

namespace tb {

namespace {

volatile int sink = 0; // keeps the values read from being optimised away

} // namespace

BareDatabase::BareDatabase() : m_name(QStringLiteral("tradebook-bench-bare")) {}

BareDatabase::~BareDatabase()
{
    close();
}

void BareDatabase::open(const QString &path)
{
    close();
    if (PgUri::isUri(path)) {
        // The same statements through the server's driver, as a program of its own would.
        m_db = QSqlDatabase::addDatabase(QString::fromLatin1(PgDatabase::DriverName), m_name);
        PgUri::parse(path).applyTo(m_db);
        if (!m_db.open())
            throw std::runtime_error("cannot open " + path.toStdString() + ": "
                                     + m_db.lastError().text().toStdString());
        return;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open())
        throw std::runtime_error("cannot open " + path.toStdString());
    for (const char *pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL"}) {
        QSqlQuery q(m_db);
        if (!q.exec(QString::fromLatin1(pragma)))
            throw std::runtime_error(q.lastError().text().toStdString());
    }
}

void BareDatabase::close()
{
    m_queries.clear();
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

QSqlQuery &BareDatabase::prepared(const QString &sql)
{
    auto it = m_queries.find(sql);
    if (it == m_queries.end()) {
        auto query = std::make_shared<QSqlQuery>(m_db);
        query->setForwardOnly(true);
        if (!query->prepare(sql))
            throw std::runtime_error((sql + QStringLiteral(": ") + query->lastError().text())
                                         .toStdString());
        it = m_queries.insert(sql, query);
    }
    return **it;
}

void BareDatabase::run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < int(values.size()); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

void BareDatabase::readRow(const QSqlQuery &query)
{
    const int n = query.record().count();
    for (int i = 0; i < n; ++i)
        sink = sink + int(query.value(i).toString().size());
}

void BareDatabase::firstProduct()
{
    QSqlQuery &q = prepared(QStringLiteral("SELECT * FROM Product ORDER BY ProductID LIMIT 1"));
    run(q, {});
    if (q.next())
        readRow(q);
    q.finish();
}

void BareDatabase::lastProduct()
{
    QSqlQuery &q =
        prepared(QStringLiteral("SELECT * FROM Product ORDER BY ProductID DESC LIMIT 1"));
    run(q, {});
    if (q.next())
        readRow(q);
    q.finish();
}

QString BareDatabase::nextProduct(const QString &after)
{
    QSqlQuery &q = prepared(QStringLiteral(
        "SELECT * FROM Product WHERE ProductID > ? ORDER BY ProductID LIMIT 1"));
    run(q, {after});
    QString id;
    if (q.next()) {
        readRow(q);
        id = q.value(0).toString();
    }
    q.finish();
    return id;
}

QString BareDatabase::lastProductId()
{
    QSqlQuery &q = prepared(
        QStringLiteral("SELECT ProductID FROM Product ORDER BY ProductID DESC LIMIT 1"));
    run(q, {});
    const QString id = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return id;
}

void BareDatabase::insertProduct(const QVariantList &values)
{
    QSqlQuery &q = prepared(QStringLiteral(
        "INSERT INTO Product (ProductID, ProductName, TypeName, UnitName, ColorName, Stock, "
        "SafeStock, PriceA, PriceB, PriceC) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    run(q, values);
}

void BareDatabase::deleteProductsAfter(const QString &productId)
{
    QSqlQuery &q = prepared(QStringLiteral("DELETE FROM Product WHERE ProductID > ?"));
    run(q, {productId});
}

int BareDatabase::selectProducts(const QString &whereColumn, const QVariant &value,
                                 int maxRows)
{
    QString sql = benchsql::productSelect().join(QLatin1Char('\n'));
    sql += QStringLiteral("\nfrom Product");
    if (!whereColumn.isEmpty())
        sql += QStringLiteral(" where %1 = ?").arg(whereColumn);
    // A server sends every row of a result it streams, read or not: only those shown.
    if (PgDatabase::isPostgres(m_db))
        sql += QStringLiteral(" order by ProductID limit %1").arg(maxRows);
    QSqlQuery &q = prepared(sql);
    run(q, whereColumn.isEmpty() ? QVariantList() : QVariantList{value});
    int rows = 0;
    while (rows < maxRows && q.next()) {
        readRow(q);
        ++rows;
    }
    q.finish();
    return rows;
}

int BareDatabase::lastProducts(int maxRows)
{
    QString sql = benchsql::productSelect().join(QLatin1Char('\n'));
    sql += QStringLiteral("\nfrom Product order by ProductID desc limit ?");
    QSqlQuery &q = prepared(sql);
    run(q, {maxRows});
    int rows = 0;
    while (q.next()) {
        readRow(q);
        ++rows;
    }
    q.finish();
    return rows;
}

void BareDatabase::productById(const QString &productId)
{
    QSqlQuery &q = prepared(QStringLiteral("SELECT * FROM Product WHERE ProductID = ?"));
    run(q, {productId});
    if (q.next())
        readRow(q);
    q.finish();
}

QString BareDatabase::productName(const QString &productId)
{
    QSqlQuery &q =
        prepared(QStringLiteral("SELECT ProductName FROM Product WHERE ProductID = ?"));
    run(q, {productId});
    const QString name = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return name;
}

QString BareDatabase::purchaseDateFrom(const QString &productId)
{
    QSqlQuery &q = prepared(QStringLiteral(
        "SELECT LastPurchaseDate FROM Product WHERE ProductID >= ? "
        "AND LastPurchaseDate IS NOT NULL ORDER BY ProductID LIMIT 1"));
    run(q, {productId});
    const QString date = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return date;
}

QString BareDatabase::lastQuoteIdBetween(const QString &low, const QString &high)
{
    QSqlQuery &q = prepared(QStringLiteral(
        "SELECT QuoteID FROM QuoteMaster WHERE QuoteID >= ? AND QuoteID <= ? "
        "ORDER BY QuoteID DESC LIMIT 1"));
    run(q, {low, high});
    const QString id = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return id;
}

QString BareDatabase::lastLineValue(const QString &quoteId, const QString &column)
{
    QSqlQuery &q = prepared(QStringLiteral("SELECT %1 FROM QuoteDetail WHERE QuoteID = ? "
                                           "AND %1 >= '000' AND %1 <= '999' "
                                           "ORDER BY %1 DESC LIMIT 1")
                                .arg(column));
    run(q, {quoteId});
    const QString value = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return value;
}

void BareDatabase::saveQuote(const QVariantList &header, const std::vector<QVariantList> &lines)
{
    if (!m_db.transaction())
        throw std::runtime_error(m_db.lastError().text().toStdString());
    QSqlQuery &h = prepared(QStringLiteral(
        "INSERT INTO QuoteMaster (QuoteID, QuoteDate, CustomerID, EmployeeID, AvailableDate, "
        "Memo, SubTotal, ValueAddTax, Amount) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    run(h, header);
    QSqlQuery &l = prepared(QStringLiteral(
        "INSERT INTO QuoteDetail (QuoteID, SEQ, QdetailID, ProductID, ProductName, Quantity, "
        "Unit, Price, Memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariantList &line : lines)
        run(l, line);
    if (!m_db.commit())
        throw std::runtime_error(m_db.lastError().text().toStdString());
}

int BareDatabase::readQuote(const QString &quoteId)
{
    QSqlQuery &h = prepared(QStringLiteral(
        "SELECT m.*, c.CustomerName, c.JoinMan, c.Tel, c.CompanyAddress, e.EmployeeName "
        "FROM QuoteMaster m LEFT JOIN Customer c ON c.CustomerID = m.CustomerID "
        "LEFT JOIN Employee e ON e.EmployeeID = m.EmployeeID WHERE m.QuoteID = ?"));
    run(h, {quoteId});
    if (h.next())
        readRow(h);
    h.finish();
    QSqlQuery &l = prepared(QStringLiteral(
        "SELECT * FROM QuoteDetail WHERE QuoteID = ? ORDER BY QuoteID, SEQ"));
    run(l, {quoteId});
    int lines = 0;
    for (; l.next(); ++lines)
        readRow(l);
    l.finish();
    return lines;
}

void BareDatabase::deleteQuote(const QString &quoteId)
{
    if (!m_db.transaction())
        throw std::runtime_error(m_db.lastError().text().toStdString());
    QSqlQuery &l = prepared(QStringLiteral("DELETE FROM QuoteDetail WHERE QuoteID = ?"));
    run(l, {quoteId});
    QSqlQuery &h = prepared(QStringLiteral("DELETE FROM QuoteMaster WHERE QuoteID = ?"));
    run(h, {quoteId});
    if (!m_db.commit())
        throw std::runtime_error(m_db.lastError().text().toStdString());
}

qint64 BareDatabase::count(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw std::runtime_error(q.lastError().text().toStdString());
    run(q, values);
    return q.next() ? q.value(0).toLongLong() : 0;
}

} // namespace tb
