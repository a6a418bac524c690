#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace tb {

// What an engine's error says about the book itself, where it says anything.
enum class EngineTrouble {
    None, Locked, Full, ReadOnly, DiskError, Damaged, NotADatabase, CannotOpen, ConnectionLost,
    Crowded
};

// The trouble an SQLite result code (plain or extended) names.
EngineTrouble sqliteTroubleOf(const QString &engineCode);

// The message a user reads for an error the database engine reports. The layer's own
// messages keep their exact text ("Key violation.", "Field '%s' must have a value"); the
// engine's troubles with the file itself (locked, full, read-only, damaged, not a database,
// not found) become one sentence naming the file and what the user can do, with the
// engine's own text below it as the detail. Anything else is the engine's text.
QString userMessage(const QSqlError &error, const QString &databaseFile);
// The same for an error on a connection: a server's troubles (a lost connection, a row
// held by another PC, a full disk) name the server and the database instead of a file.
QString userMessage(const QSqlError &error, const QSqlDatabase &db);
// A book that lacks a table or column the application needs (a file of another program, a
// book of an older or damaged kind): the sentence naming the file, or the server's database,
// and what to do, with the layer's own text ("Table 'Product' does not exist") below it.
QString missingPartsMessage(const QString &databaseFile, const QString &detail);
QString missingPartsMessage(const QSqlDatabase &db, const QString &detail);
// The message for a server connection that is gone, where no error of the engine tells it.
QString lostConnectionMessage(const QSqlDatabase &db);
// True when the error says the server's connection is gone (the server stopped, the network
// broke, the session was ended): the connection is of no further use.
bool isConnectionLost(const QSqlError &error, const QSqlDatabase &db);

} // namespace tb
