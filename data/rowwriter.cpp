#include "data/rowwriter.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/fieldvalue.h"
#include "data/sqlterms.h"

#include <QSqlQuery>

namespace tb {

using sqlterms::isNull;
using sqlterms::quoted;

qint64 RowWriter::insert(const QVector<QVariant> &values) const
{
    QStringList cols, marks;
    QVariantList binds;
    for (int i = 0; i < m_layout.fieldCol.size(); ++i) {
        if (m_layout.fieldCol[i].isEmpty())
            continue;
        cols << quoted(m_layout.fieldCol[i]);
        marks << QStringLiteral("?");
        binds << fieldvalue::toStorage(m_layout.fieldType[i], values.value(i));
    }
    const QString table = quoteName(m_layout.table);
    const QString sql = cols.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(table, cols.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    QSqlQuery query = Database::exec(m_layout.db, sql, binds);
    return query.lastInsertId().toLongLong();
}

void RowWriter::update(qint64 rowid, const QVector<QVariant> &oldValues,
                       const QVector<QVariant> &values) const
{
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < m_layout.fieldCol.size(); ++i) {
        if (m_layout.fieldCol[i].isEmpty())
            continue;
        const QVariant now = values.value(i);
        const QVariant before = oldValues.value(i);
        if (isNull(now) == isNull(before) && (isNull(now) || now == before))
            continue;
        sets << quoted(m_layout.fieldCol[i]) + QLatin1String(" = ?");
        binds << fieldvalue::toStorage(m_layout.fieldType[i], now);
    }
    if (sets.isEmpty())
        return;
    binds << rowid;
    QSqlQuery query = Database::exec(
        m_layout.db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                         .arg(quoteName(m_layout.table), sets.join(QLatin1String(", "))),
        binds);
    if (query.numRowsAffected() == 0)
        throw DatabaseError(QStringLiteral("Record not found or changed by another user"));
}

void RowWriter::remove(qint64 rowid) const
{
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE rowid = ?");
    QSqlQuery query = Database::exec(m_layout.db, sql.arg(quoteName(m_layout.table)), {rowid});
    if (query.numRowsAffected() == 0)
        throw DatabaseError(QStringLiteral("Record not found or changed by another user"));
}

} // namespace tb
