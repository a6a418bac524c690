#pragma once

#include <QSqlDatabase>

#include <functional>

namespace tb {

// A database transaction as a scope. The outermost guard on a connection begins a real
// transaction; a guard inside another is a savepoint, so that an inner failure undoes only
// its own part while the outer work goes on.
//
// commit() is explicit and throws DatabaseError when the database refuses it (after
// rolling back). A guard that leaves its scope without commit() rolls back; its destructor
// never throws.
//
// Record sets that change their own state because of a write inside a transaction (a post
// going back to browse, cached lines forgetting what they wrote) register how to undo that
// change with onRollback(): the undo runs when the part of the transaction holding the
// write rolls back, so that every record set stands where it stood before and the user can
// retry.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction() noexcept;
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

    // True while a guard is open on the connection.
    static bool isOpen(const QSqlDatabase &db);
    // Does nothing when no guard is open on the connection.
    static void onRollback(const QSqlDatabase &db, std::function<void()> undo);
    // A connection that is closed takes its scopes with it (they can no longer commit).
    static void forgetConnection(const QString &connectionName);

private:
    void begin();
    void commitOutermost();
    void rollback() noexcept;

    QSqlDatabase m_db;
    int m_depth = 0;   // 0 for the outermost guard
    bool m_done = false;
};

} // namespace tb
