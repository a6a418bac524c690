#pragma once

#include "data/records/dataset.h"
#include "data/records/keyedpager.h"

#include <QSqlDatabase>
#include <QStringList>

#include <memory>
#include <vector>

namespace tb {

// The text of an SQL query, built line by line.
class SqlText
{
public:
    void Clear() { m_lines.clear(); }
    void Add(const QString &line) { m_lines.append(line); }
    QString Text() const { return m_lines.join(QLatin1Char('\n')); }
    const QStringList &Lines() const { return m_lines; }

private:
    QStringList m_lines;
};

// A read-only record set over the result of a select statement through an alias.
// Rows are fetched as they are needed (a grid's first screen never waits for the whole
// result); values are bound as parameters, never pasted into the text.
//
// With a unique key column named (a table's key among the result columns), the result is
// read a page at a time in the order of that column and never held whole: the last row of
// a million costs what the first does. Without one, rows are read forward and kept.
class SqlQuery : public DataSet
{
    Q_OBJECT
public:
    explicit SqlQuery(QObject *parent = nullptr);
    ~SqlQuery() override;

    void setDatabaseName(const QString &alias); // default "misAccess"
    QString DatabaseName() const;

    SqlText &SQL();
    // Positional parameters ("?") in the order they stand in the text.
    void setParams(const QVariantList &values);
    // The result column whose values tell the rows apart; empty to read forward.
    void setUniqueKey(const QString &resultColumn);
    QString UniqueKey() const;
    // While open: the database's plan of every statement the reads send, one entry per
    // statement, for checking that each is an index search. Empty while closed.
    QStringList QueryPlans() const;
    // While open: how many rows the statement gives, counted by the database without
    // reading them (a progress bar's end). 0 while closed.
    qint64 ResultCount() const;

    int CompareBookmarks(const Bookmark &a, const Bookmark &b) const override;
    QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                  bool forward) const override;

protected:
    // The connection the statement runs on.
    virtual QSqlDatabase connection() const;

    void openCursor() override;
    void closeCursor() override;
    OptRow readFirst() const override;
    OptRow readLast() const override;
    OptRow readNext(const Bookmark &from) const override;
    OptRow readPrior(const Bookmark &from) const override;
    OptRow readRow(const Bookmark &bookmark) const override;
    OptRow readLocate(const QList<Field *> &fields, const QVariantList &values) const override;
    void refreshCursor() override;

private:
    struct Private;
    std::unique_ptr<Private> p;
    bool fetchTo(int row) const;
    OptRow rowAt(int row) const;
    void createFields(const QSqlRecord &record);
    void mapFields(const QSqlRecord &record);
    bool paged() const;
    // The parameters as the statement binds them (dates as stored), and its text.
    QVariantList boundParams(const QSqlDatabase &db) const;
    QString statement(const QSqlDatabase &db) const;
    OptRow pagedRow(const std::vector<KeyedPager::Row> &rows) const;
    QVector<RowSnapshot> readPage(const Bookmark &anchor, int count, bool forward) const;
};

// The query screens' query object: the same, reaching its database through a connection
// string instead of an alias.
class ConnectionQuery : public SqlQuery
{
    Q_OBJECT
public:
    explicit ConnectionQuery(QObject *parent = nullptr);
    void setConnectionString(const QString &connectionString);
    QString ConnectionString() const;

protected:
    QSqlDatabase connection() const override;

private:
    QString m_connectionString;
};

} // namespace tb
