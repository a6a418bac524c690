#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

namespace tb {

// Reads the result of a select statement a page at a time, in the order of one result
// column whose values are unique (a table's key): each read wraps the statement and asks
// for the rows after or before a key value, so that the first screen and the last row of
// a result of a million rows cost what they cost for ten, and nothing is held in memory.
class KeyedPager
{
public:
    struct Row
    {
        QVariant key;
        QVector<QVariant> values; // by result column
    };
    using Rows = std::vector<Row>;

    void setStatement(const QSqlDatabase &db, const QString &sql, const QVariantList &binds,
                      const QString &keyColumn);
    void clear();

    // The result's columns, read when the statement is set (which throws the database's
    // error when it is refused).
    const QSqlRecord &record() const { return m_record; }
    const QString &keyColumn() const { return m_key; }

    // From the first row (forward) or the last (backward), nearest first.
    Rows fromEnd(bool forward, int limit) const;
    // The rows after (forward) or before a key, nearest first.
    Rows from(const QVariant &key, bool forward, int limit) const;
    Rows equal(const QStringList &columns, const QVariantList &values) const;

    // The database's plan of every statement the reads above send, one entry per statement
    // ("after: SEARCH ..."), for checking that each is an index search and none a sort.
    QStringList plans() const;
    // The database's plan of one statement, its steps joined by "; ".
    static QString plan(const QSqlDatabase &db, const QString &sql, const QVariantList &binds);

private:
    QSqlRecord readRecord() const;
    QString pageSql(const QString &where, bool forward, int limit) const;
    QVariantList pageBinds(const QVariantList &binds, int limit) const;
    Rows run(const QString &where, const QVariantList &binds, bool forward, int limit) const;

    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_binds;
    QString m_key;
    int m_keyIndex = -1;
    QSqlRecord m_record;
    bool m_postgres = false;
    bool m_nullKeys = false; // some row had no key when the statement was set
};

} // namespace tb
