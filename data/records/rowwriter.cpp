#include "data/records/rowwriter.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/fieldvalue.h"
#include "data/book/sqlterms.h"
#include "data/book/statementcache.h"

#include <QSqlQuery>

#include <algorithm>

namespace tb {

using sqlterms::isNull;
using sqlterms::quoted;

QString RowWriter::whereIdentity(const QVariantList &identity, QVariantList &binds) const
{
    if (identity.size() != m_layout.identityCols.size())
        throw DatabaseError(QStringLiteral("Record not found"));
    QStringList terms;
    for (int i = 0; i < identity.size(); ++i)
        terms << sqlterms::eqTerm(m_layout.identityCols[i], identity[i], binds);
    return terms.join(QLatin1String(" AND "));
}

QStringList RowWriter::insertColumns() const
{
    QStringList cols;
    for (const QString &c : m_layout.fieldCol)
        if (!c.isEmpty())
            cols << quoted(c);
    return cols;
}

QVariantList RowWriter::insert(const QVector<QVariant> &values) const
{
    Database::prepareWrite(m_layout.db);
    const QStringList cols = insertColumns();
    QStringList marks;
    QVariantList binds;
    for (int i = 0; i < m_layout.fieldCol.size(); ++i) {
        if (m_layout.fieldCol[i].isEmpty())
            continue;
        marks << QStringLiteral("?");
        binds << fieldvalue::toStorage(m_layout.fieldType[i], values.value(i));
    }
    const QString table = quoteName(m_layout.table);
    const QString sql = cols.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(table, cols.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    QSqlQuery &query = StatementCache::run(m_layout.db, sql, binds);
    if (m_layout.identityIsRowId())
        return {query.lastInsertId()};
    QVariantList identity;
    for (const QString &c : m_layout.identityCols) {
        const int f = m_layout.fieldOf(c);
        identity << (f >= 0 ? fieldvalue::toStorage(m_layout.fieldType[f], values.value(f))
                            : QVariant());
    }
    return identity;
}

void RowWriter::insertMany(const std::vector<QVector<QVariant>> &rows) const
{
    if (rows.empty())
        return;
    Database::prepareWrite(m_layout.db);
    if (insertColumns().isEmpty()) {
        for (const auto &row : rows)
            insert(row);
        return;
    }
    for (size_t from = 0; from < rows.size(); from += BatchRows)
        insertBatch(rows, from, std::min(rows.size(), from + size_t(BatchRows)));
}

void RowWriter::insertBatch(const std::vector<QVector<QVariant>> &rows, size_t from,
                            size_t to) const
{
    const QStringList cols = insertColumns();
    QStringList marks(cols.size(), QStringLiteral("?"));
    const QString tuple = QLatin1Char('(') + marks.join(QLatin1String(", ")) + QLatin1Char(')');
    QStringList tuples;
    QVariantList binds;
    for (size_t r = from; r < to; ++r) {
        tuples << tuple;
        for (int i = 0; i < m_layout.fieldCol.size(); ++i)
            if (!m_layout.fieldCol[i].isEmpty())
                binds << fieldvalue::toStorage(m_layout.fieldType[i], rows[r].value(i));
    }
    StatementCache::run(m_layout.db,
                        QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                            .arg(quoteName(m_layout.table), cols.join(QLatin1String(", ")),
                                 tuples.join(QLatin1String(", "))),
                        binds);
}

void RowWriter::update(const QVariantList &identity, const QVector<QVariant> &oldValues,
                       const QVector<QVariant> &values) const
{
    Database::prepareWrite(m_layout.db);
    QStringList sets;
    QVariantList binds;
    QStringList unchangedSince; // each changed column still holds what was read
    QVariantList sinceBinds;
    for (int i = 0; i < m_layout.fieldCol.size(); ++i) {
        if (m_layout.fieldCol[i].isEmpty())
            continue;
        const QVariant now = values.value(i);
        const QVariant before = oldValues.value(i);
        if (isNull(now) == isNull(before) && (isNull(now) || now == before))
            continue;
        sets << quoted(m_layout.fieldCol[i]) + QLatin1String(" = ?");
        binds << fieldvalue::toStorage(m_layout.fieldType[i], now);
        unchangedSince << sqlterms::eqTerm(m_layout.fieldCol[i],
                                           fieldvalue::toStorage(m_layout.fieldType[i], before),
                                           sinceBinds);
    }
    if (sets.isEmpty())
        return;
    // Another copy may have changed the row since it was read: only the fields this edit
    // changes are compared, so that edits of different fields both survive.
    QString where = whereIdentity(identity, binds);
    where += QLatin1String(" AND ") + unchangedSince.join(QLatin1String(" AND "));
    binds << sinceBinds;
    QSqlQuery &query = StatementCache::run(
        m_layout.db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                         .arg(quoteName(m_layout.table), sets.join(QLatin1String(", ")), where),
        binds);
    if (query.numRowsAffected() == 0)
        throw RecordChangedError();
}

void RowWriter::remove(const QVariantList &identity) const
{
    removeMany({identity});
}

void RowWriter::removeMany(const std::vector<QVariantList> &identities) const
{
    if (identities.empty())
        return;
    Database::prepareWrite(m_layout.db);
    for (size_t from = 0; from < identities.size(); from += BatchRows) {
        const size_t to = std::min(identities.size(), from + size_t(BatchRows));
        QStringList alternatives;
        QVariantList binds;
        for (size_t r = from; r < to; ++r)
            alternatives << QLatin1Char('(') + whereIdentity(identities[r], binds)
                                + QLatin1Char(')');
        QSqlQuery &query = StatementCache::run(
            m_layout.db, QStringLiteral("DELETE FROM %1 WHERE %2")
                             .arg(quoteName(m_layout.table),
                                  alternatives.join(QLatin1String(" OR "))),
            binds);
        if (query.numRowsAffected() != int(to - from))
            throw RecordChangedError();
    }
}

} // namespace tb
