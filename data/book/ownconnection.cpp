#include "data/book/ownconnection.h"

#include "data/book/errors.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace tb {

namespace {

int nextNumber()
{
    static QAtomicInteger<int> counter;
    return counter.fetchAndAddRelaxed(1);
}

DatabaseError errorOf(const QSqlError &error)
{
    return DatabaseError(error.databaseText().isEmpty() ? error.text() : error.databaseText(),
                         error.nativeErrorCode());
}

} // namespace

OwnConnection::OwnConnection(const QString &file, Mode mode)
    : m_name(QStringLiteral("tradebook-own-%1").arg(nextNumber()))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (mode == Mode::ReadOnly) {
        url.setQuery(QStringLiteral("mode=ro"));
        m_db.setConnectOptions(QStringLiteral(
            "QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        url.setQuery(QStringLiteral("mode=rw"));
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=0"));
    }
    m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
}

OwnConnection::~OwnConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase &OwnConnection::open()
{
    if (!m_db.isOpen() && !m_db.open())
        throw errorOf(m_db.lastError());
    return m_db;
}

QSqlQuery OwnConnection::run(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(open());
    query.setForwardOnly(true);
    bool done = false;
    if (values.isEmpty()) {
        done = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (const QVariant &value : values)
            query.addBindValue(value);
        done = query.exec();
    }
    if (!done)
        throw errorOf(query.lastError());
    return query;
}

} // namespace tb
