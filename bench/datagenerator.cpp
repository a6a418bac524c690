#include "bench/datagenerator.h"

#include "data/book/big5.h"
#include "data/book/database.h"
#include "data/book/schema.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <stdexcept>

namespace tb {

namespace {

using benchdata::DocumentRows;
using benchdata::RowMaker;

constexpr qint64 ChunkRows = 25000;
const QString ConnectionName = QStringLiteral("tradebook-generator");

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    throw std::runtime_error((what + QStringLiteral(": ") + error.text()).toStdString());
}

void exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        fail(sql, q.lastError());
}

const benchdata::TableColumns &layoutOf(const QString &table)
{
    for (const benchdata::TableColumns &l : RowMaker::layouts())
        if (l.table == table)
            return l;
    throw std::logic_error("no layout for table " + table.toStdString());
}

// One prepared INSERT per table; every row also has its text widths checked on a sample,
// so a vocabulary change that overflows a column stops the run instead of passing silently.
class Inserter
{
public:
    Inserter(QSqlDatabase &db, const QString &table) : m_query(db)
    {
        const benchdata::TableColumns &layout = layoutOf(table);
        const TableDef *def = Schema::table(table);
        if (!def)
            throw std::runtime_error("table missing from the schema: " + table.toStdString());
        QStringList names, marks;
        for (const QString &c : layout.columns) {
            const ColumnDef *col = def->column(c);
            if (!col)
                throw std::runtime_error("column missing from the schema: "
                                         + (table + u'.' + c).toStdString());
            m_widths.push_back(col->type == FieldType::String ? col->size : 0);
            names << quoteName(c);
            marks << QStringLiteral("?");
        }
        m_table = table;
        m_query.setForwardOnly(true);
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(quoteName(table), names.join(u", "), marks.join(u", "));
        if (!m_query.prepare(sql))
            fail(sql, m_query.lastError());
    }

    void insert(const QVariantList &values)
    {
        if (values.size() != qsizetype(m_widths.size()))
            throw std::logic_error("row of the wrong length for " + m_table.toStdString());
        const bool check = (m_count++ & 63) == 0;
        for (int i = 0; i < int(values.size()); ++i) {
            if (check && m_widths[std::size_t(i)] > 0) {
                const QString text = values[i].toString();
                if (big5::width(text) > m_widths[std::size_t(i)] || !big5::isEncodable(text))
                    throw std::logic_error(QStringLiteral("generated value too wide for %1: %2")
                                               .arg(m_table, text)
                                               .toStdString());
            }
            m_query.bindValue(i, values[i]);
        }
        if (!m_query.exec())
            fail(QStringLiteral("insert into ") + m_table, m_query.lastError());
    }

    qint64 count() const { return m_count; }

private:
    QSqlQuery m_query;
    QString m_table;
    std::vector<int> m_widths;
    qint64 m_count = 0;
};

// "Product               10% 20% ... 100%   1000000 rows  12.3 s" on one stderr line.
class Progress
{
public:
    explicit Progress(const QString &label) : m_label(label)
    {
        std::fprintf(stderr, "  %-36s", qPrintable(m_label));
        std::fflush(stderr);
        m_timer.start();
    }
    void update(qint64 done, qint64 total)
    {
        const int percent = total > 0 ? int(done * 100 / total) : 100;
        while (m_shown + 10 <= percent) {
            m_shown += 10;
            std::fprintf(stderr, " %d%%", m_shown);
            std::fflush(stderr);
        }
    }
    void finish(const QString &rows)
    {
        update(1, 1);
        std::fprintf(stderr, "  %s  %.1f s\n", qPrintable(rows), m_timer.elapsed() / 1000.0);
    }

private:
    QString m_label;
    QElapsedTimer m_timer;
    int m_shown = 0;
};

class Chunk
{
public:
    explicit Chunk(QSqlDatabase &db) : m_db(db)
    {
        if (!m_db.transaction())
            fail(QStringLiteral("begin"), m_db.lastError());
    }
    void commit()
    {
        if (!m_db.commit())
            fail(QStringLiteral("commit"), m_db.lastError());
    }

private:
    QSqlDatabase &m_db;
};

// Drops the indexes the schema created (other than the primary keys' own) and returns the
// statements that make them again.
QStringList takeSecondaryIndexes(QSqlDatabase &db)
{
    QStringList names, statements;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name, sql FROM sqlite_master "
                               "WHERE type = 'index' AND sql IS NOT NULL")))
        fail(QStringLiteral("reading the indexes"), q.lastError());
    while (q.next()) {
        names << q.value(0).toString();
        statements << q.value(1).toString();
    }
    q.finish();
    for (const QString &name : names)
        exec(db, QStringLiteral("DROP INDEX %1").arg(quoteName(name)));
    return statements;
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

DataGenerator::DataGenerator(const benchdata::GeneratorSizes &sizes, QDate lastDay)
    : m_rows(sizes, lastDay)
{}

void DataGenerator::generate(const QString &path)
{
    const QString building = path + QStringLiteral(".part");
    removeDatabaseFiles(building);
    QElapsedTimer total;
    total.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
        db.setDatabaseName(building);
        if (!db.open())
            fail(QStringLiteral("open ") + building, db.lastError());
        // The bulk load needs no crash safety: the file is renamed only once complete.
        exec(db, QStringLiteral("PRAGMA journal_mode=OFF"));
        exec(db, QStringLiteral("PRAGMA synchronous=OFF"));
        exec(db, QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
        exec(db, QStringLiteral("PRAGMA cache_size=-1048576"));
        exec(db, QStringLiteral("PRAGMA temp_store=MEMORY"));
        {
            Chunk chunk(db);
            Schema::create(db);
            chunk.commit();
        }
        // Secondary indexes are built once after the load (a sort) instead of row by row;
        // their definitions are kept exactly as the schema wrote them.
        const QStringList indexes = takeSecondaryIndexes(db);
        const benchdata::GeneratorSizes &s = m_rows.sizes();
        std::fprintf(stderr, "Generating %s\n", qPrintable(path));
        fillCodeTables(db);
        fillTable(db, QStringLiteral("Product"), s.products,
                  [this](qint64 i) { return m_rows.product(i); });
        fillTable(db, QStringLiteral("Customer"), s.customers,
                  [this](qint64 i) { return m_rows.customer(i); });
        fillTable(db, QStringLiteral("Supplier"), s.suppliers,
                  [this](qint64 i) { return m_rows.supplier(i); });
        fillTable(db, QStringLiteral("Employee"), s.employees,
                  [this](qint64 i) { return m_rows.employee(i); });
        fillDocuments(db, QStringLiteral("QuoteMaster"), QStringLiteral("QuoteDetail"),
                      s.quotations, [this](qint64 i) { return m_rows.quotation(i); });
        fillDocuments(db, QStringLiteral("OrderMaster"), QStringLiteral("OrderDetail"),
                      s.orders(), [this](qint64 i) { return m_rows.order(i); });
        fillDocuments(db, QStringLiteral("DeliveryMaster"), QStringLiteral("DeliveryDetail"),
                      s.deliveries(), [this](qint64 i) { return m_rows.delivery(i); });
        fillDocuments(db, QStringLiteral("DeliveryReturnMaster"),
                      QStringLiteral("DeliveryReturnDetail"), s.returns(),
                      [this](qint64 i) { return m_rows.deliveryReturn(i); });
        {
            Progress progress(QStringLiteral("indexes"));
            Chunk chunk(db);
            for (int i = 0; i < indexes.size(); ++i) {
                exec(db, indexes[i]);
                progress.update(i + 1, indexes.size());
            }
            chunk.commit();
            progress.finish(QStringLiteral("%1 indexes").arg(indexes.size()));
        }
        // Leave the file as the application keeps it.
        exec(db, QStringLiteral("PRAGMA locking_mode=NORMAL"));
        exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
        db.close();
    }
    QSqlDatabase::removeDatabase(ConnectionName);
    removeDatabaseFiles(path);
    if (!QFile::rename(building, path))
        throw std::runtime_error("cannot rename " + building.toStdString() + " to "
                                 + path.toStdString());
    std::fprintf(stderr, "Done in %.1f s\n", total.elapsed() / 1000.0);
}

void DataGenerator::fillCodeTables(QSqlDatabase &db)
{
    Progress progress(QStringLiteral("code tables"));
    Chunk chunk(db);
    qint64 rows = 0;
    auto fill = [&](const QString &table, int count, auto make) {
        Inserter inserter(db, table);
        for (int i = 0; i < count; ++i)
            inserter.insert(make(i));
        rows += count;
    };
    fill(QStringLiteral("Unit"), int(m_rows.unitNames().size()),
         [this](int i) { return m_rows.unit(i); });
    fill(QStringLiteral("ProductType"), int(m_rows.typeNames().size()),
         [this](int i) { return m_rows.productType(i); });
    fill(QStringLiteral("Color"), int(RowMaker::colorNames().size()),
         [this](int i) { return m_rows.color(i); });
    fill(QStringLiteral("Department"), int(RowMaker::departmentNames().size()),
         [this](int i) { return m_rows.department(i); });
    fill(QStringLiteral("Duty"), int(RowMaker::dutyNames().size()),
         [this](int i) { return m_rows.duty(i); });
    chunk.commit();
    progress.finish(QStringLiteral("%1 rows").arg(rows));
}

template<typename MakeRow>
void DataGenerator::fillTable(QSqlDatabase &db, const QString &table, qint64 count,
                              MakeRow make)
{
    Progress progress(table);
    Inserter inserter(db, table);
    for (qint64 start = 0; start < count; start += ChunkRows) {
        Chunk chunk(db);
        const qint64 end = std::min(count, start + ChunkRows);
        for (qint64 i = start; i < end; ++i)
            inserter.insert(make(i));
        chunk.commit();
        progress.update(end, count);
    }
    progress.finish(QStringLiteral("%1 rows").arg(count));
}

template<typename MakeDocument>
void DataGenerator::fillDocuments(QSqlDatabase &db, const QString &master,
                                  const QString &detail, qint64 count, MakeDocument make)
{
    Progress progress(master + QStringLiteral(", ") + detail);
    Inserter headers(db, master);
    Inserter lines(db, detail);
    qint64 lineCount = 0;
    const qint64 chunkDocuments = ChunkRows / 5;
    for (qint64 start = 0; start < count; start += chunkDocuments) {
        Chunk chunk(db);
        const qint64 end = std::min(count, start + chunkDocuments);
        for (qint64 i = start; i < end; ++i) {
            const DocumentRows doc = make(i);
            headers.insert(doc.header);
            for (const QVariantList &line : doc.lines)
                lines.insert(line);
            lineCount += qint64(doc.lines.size());
        }
        chunk.commit();
        progress.update(end, count);
    }
    progress.finish(QStringLiteral("%1 + %2 rows").arg(count).arg(lineCount));
}

} // namespace tb
