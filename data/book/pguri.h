#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

namespace tb {

// A PostgreSQL database named the way libpq names one:
//   postgresql://[user@]host[:port]/dbname[?param=value&...]
//   postgresql:///dbname?host=/path/to/socket-folder
// The password never travels in the URI (it would end up in the settings and in messages):
// libpq takes it from ~/.pgpass or the PG* environment variables.
class PgUri
{
public:
    // True for a text that is meant as such a URI ("postgresql://" or "postgres://").
    static bool isUri(const QString &text);
    // The text as messages and output may show it: a password written into a URI (after
    // the user name, or as a password= parameter) is replaced by ***. Other text is
    // returned as it is.
    static QString masked(const QString &text);
    // Throws DatabaseError with a message naming the URI when it cannot be used.
    static PgUri parse(const QString &text);

    const QString &user() const { return m_user; }
    const QString &host() const { return m_host; } // empty: libpq's default socket
    int port() const { return m_port; }            // -1: the default port
    const QString &databaseName() const { return m_database; }
    const QList<QPair<QString, QString>> &parameters() const { return m_parameters; }

    // Where the book lives, for the user's messages: "host:port/dbname" or, on a local
    // socket, "dbname (socket /path)". Never carries a password.
    QString displayName() const;
    static QString describe(const QString &host, int port, const QString &database);
    // Sets host, port, user, database and the other parameters on a QPSQL connection.
    void applyTo(QSqlDatabase &db) const;

private:
    void readQuery(const QString &query, const QString &text);
    void setParameter(const QString &key, const QString &value, const QString &text);

    QString m_user;
    QString m_host;
    int m_port = -1;
    QString m_database;
    QList<QPair<QString, QString>> m_parameters; // libpq parameters passed through
};

} // namespace tb
