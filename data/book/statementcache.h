#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace tb {

// Statements prepared once per connection and kept: a server prepares a statement in a
// round trip of its own and releases it in another, so a statement that a screen sends again
// (the next row, the same kind of save, a table reopened) costs only its execution.
//
// A statement handed out is read to its end (or finished) before the same text runs again;
// the record-set layer reads every result whole before it returns.
class StatementCache
{
public:
    // Binds the values, executes (counting the statements sent) and returns the statement,
    // positioned before its first row. Throws DatabaseError with the user's message.
    static QSqlQuery &run(const QSqlDatabase &db, const QString &sql,
                          const QVariantList &values = {});
    // Releases the statements of a connection (before the connection closes).
    static void forget(const QString &connectionName);

private:
    static QSqlQuery &prepared(const QSqlDatabase &db, const QString &sql);
};

} // namespace tb
