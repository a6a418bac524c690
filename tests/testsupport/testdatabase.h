#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace tb::test {

// A fresh database with the full schema, set as the "misAccess" alias for the lifetime of
// the object: an SQLite file in a temporary folder, or, when the environment variable
// TRADEBOOK_TEST_POSTGRES names a PostgreSQL server (a postgresql:// URI of a database
// that may create others), a database of the test program's own on that server, emptied
// and provisioned afresh for each object.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    // The file, or the server database's URI.
    QString path() const;
    // Runs statements directly on the database (setting up rows, reading results back).
    void exec(const QString &sql, const QVariantList &values = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    int count(const QString &table) const;
    // A stored quotation of 2024-05-01 for customer CU000001; each line is
    // "SEQ:QdetailID:ProductID:Quantity:Price".
    void seedQuote(const QString &id, const QStringList &lines = {}) const;
    // Makes the database refuse the rows an event ("INSERT" or "DELETE") would write or
    // remove while the condition (SQL over NEW or OLD; empty: always) holds, with the
    // message: a trigger, as each engine writes one. dropRefusal() takes it away.
    void refuse(const QString &name, const QString &event, const QString &table,
                const QString &condition, const QString &message) const;
    void dropRefusal(const QString &name, const QString &table) const;

    // True when the tests run against a server.
    static bool onServer();
    // On a server: plans that sort or scan a whole table are priced out for the rest of the
    // connection, so that a plan shows whether an index gives the rows in their order (a
    // server reads a test's few rows faster without one, and would plan so).
    static void preferIndexes();
    // The URI of the server named by TRADEBOOK_TEST_POSTGRES; empty when there is none.
    static QString serverUri();
    // A database of that server for this test program (made when missing), emptied; its
    // URI. The name tells it from the other programs' databases.
    static QString emptyServerDatabase(const QString &suffix = QString());

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace tb::test
