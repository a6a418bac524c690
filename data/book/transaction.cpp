#include "data/book/transaction.h"

#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/statementcounter.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace tb {

namespace {

using Actions = std::vector<std::function<void()>>;

// What one open guard has to undo should it roll back.
struct Scope
{
    Actions undo; // in the order registered; run backwards
};

// The open guards per connection, outermost first.
QHash<QString, std::vector<Scope>> &openScopes()
{
    static QHash<QString, std::vector<Scope>> scopes;
    return scopes;
}

std::vector<Scope> *scopesOf(const QSqlDatabase &db)
{
    auto it = openScopes().find(db.connectionName());
    return it == openScopes().end() || it->empty() ? nullptr : &*it;
}

// The lock of the book that every save on a server holds ("tradebok").
constexpr qint64 SaveLock = 0x7472616465626f6b;

QString savepointName(int depth)
{
    return QStringLiteral("tb_savepoint_%1").arg(depth);
}

// A statement without values: sent as it is, without preparing it (which would cost a
// server two more round trips).
void send(const QSqlDatabase &db, const QString &sql)
{
    Database::reopenIfLost(db);
    QSqlQuery query(db);
    StatementCounter::add();
    if (!query.exec(sql))
        throw DatabaseError(Database::errorText(query.lastError(), db));
}

void append(Actions &to, Actions &from)
{
    for (auto &action : from)
        to.push_back(std::move(action));
    from.clear();
}

} // namespace

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    const std::vector<Scope> *open = scopesOf(m_db);
    m_depth = open ? int(open->size()) : 0;
    if (m_depth == 0) {
        // Opening the book anew may run a transaction of its own, before this one begins.
        Database::reopenIfLost(m_db);
        Database::prepareWrite(m_db);
        begin();
    } else {
        send(m_db, QStringLiteral("SAVEPOINT ") + savepointName(m_depth));
    }
    openScopes()[m_db.connectionName()].emplace_back();
}

void Transaction::begin()
{
    // A transaction here is always a save. SQLite takes the write lock at once (waiting its
    // busy time for another copy to finish), rather than at the first write, where a
    // snapshot another copy has moved past could only fail.
    if (m_db.driverName() == QLatin1String("QSQLITE")) {
        Database::exec(m_db, QStringLiteral("BEGIN IMMEDIATE"));
        return;
    }
    // A server: the saves of every PC take one lock of the book's, held to their end, as
    // SQLite's write lock holds the file: a number a save finds free inside its transaction
    // stays free until the save has stored it. Sent with BEGIN, in one round trip; a lock
    // not had within the server's lock timeout refuses the save with its message.
    try {
        send(m_db, QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1)").arg(SaveLock));
    } catch (...) {
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

Transaction::~Transaction() noexcept
{
    if (!m_done)
        rollback();
}

void Transaction::commit()
{
    if (m_done)
        return;
    std::vector<Scope> *scopes = scopesOf(m_db);
    if (!scopes || int(scopes->size()) != m_depth + 1) {
        m_done = true;
        throw DatabaseError(QStringLiteral("The transaction is no longer open"));
    }
    if (m_depth > 0) {
        try {
            send(m_db, QStringLiteral("RELEASE SAVEPOINT ") + savepointName(m_depth));
        } catch (...) {
            rollback();
            throw;
        }
        // The outer transaction may still roll back: what this part did is undone then.
        Scope &outer = (*scopes)[size_t(m_depth - 1)];
        append(outer.undo, scopes->back().undo);
        scopes->pop_back();
        m_done = true;
        return;
    }
    try {
        commitOutermost();
    } catch (...) {
        rollback();
        throw;
    }
    scopes = scopesOf(m_db);
    if (scopes)
        scopes->pop_back();
    m_done = true;
}

void Transaction::commitOutermost()
{
    // SQLite's driver drops the engine's code from a refused COMMIT (a full disk, most
    // often, as the lines reach the file only then); sent as a statement, it keeps it.
    if (m_db.driverName() == QLatin1String("QSQLITE")) {
        send(m_db, QStringLiteral("COMMIT"));
        return;
    }
    StatementCounter::add();
    if (!m_db.commit())
        throw DatabaseError(Database::errorText(m_db.lastError(), m_db));
}

void Transaction::rollback() noexcept
{
    m_done = true;
    std::vector<Scope> *scopes = scopesOf(m_db);
    if (!scopes || int(scopes->size()) != m_depth + 1)
        return; // the connection was closed meanwhile: nothing left to undo
    try {
        if (m_depth > 0) {
            const QString name = savepointName(m_depth);
            send(m_db, QStringLiteral("ROLLBACK TO SAVEPOINT ") + name);
            send(m_db, QStringLiteral("RELEASE SAVEPOINT ") + name);
        } else {
            StatementCounter::add();
            m_db.rollback();
        }
    } catch (...) {
        // A database that cannot roll back has lost the transaction anyway.
    }
    Actions undo = std::move(scopes->back().undo);
    scopes->pop_back();
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
        try {
            (*it)();
        } catch (...) {
            // Undoing a record set's state reads nothing that can fail for the user.
        }
    }
}

bool Transaction::isOpen(const QSqlDatabase &db)
{
    return scopesOf(db) != nullptr;
}

void Transaction::onRollback(const QSqlDatabase &db, std::function<void()> undo)
{
    if (std::vector<Scope> *scopes = scopesOf(db))
        scopes->back().undo.push_back(std::move(undo));
}

void Transaction::forgetConnection(const QString &connectionName)
{
    openScopes().remove(connectionName);
}

} // namespace tb
