#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace tb {

// An SQLite connection of the calling thread's own on a file, closed and let go with the
// object. Backups use it off the user's thread: the book's registry, its statement cache
// and its schema cache belong to the user's thread, so nothing here goes through them.
class OwnConnection
{
public:
    enum class Mode {
        ReadOnly, // never writes, waits for a busy file as the book does
        NoWait,   // may take locks, never waits: a lock held elsewhere is an answer
    };
    OwnConnection(const QString &file, Mode mode);
    ~OwnConnection();
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;

    // Opens the file on first use; throws DatabaseError with the engine's text and code.
    QSqlDatabase &open();
    // Runs one statement with bound values; throws DatabaseError with the engine's text
    // and code.
    QSqlQuery run(const QString &sql, const QVariantList &values = {});

private:
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace tb
