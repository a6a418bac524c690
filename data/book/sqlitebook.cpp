#include "data/book/sqlitebook.h"

#include "data/book/database.h"
#include "data/book/errormessages.h"
#include "data/book/errors.h"
#include "data/book/networkshare.h"
#include "data/book/schema.h"
#include "data/book/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <unistd.h>

namespace tb {

namespace {

struct State
{
    QString path;
    bool viewing = false;
    int generation = 0;
    bool readOnly = false; // opened by a reader: never opened for writing
};

QHash<QString, State> &states()
{
    static QHash<QString, State> all;
    return all;
}

void applySettings(const QSqlDatabase &db, const QString &path)
{
    if (NetworkShare::holds(path)) {
        // Opened on a share only by the expert's choice: no memory shared between PCs, and
        // the file held for this connection alone, so a second PC is turned away.
        Database::exec(db, QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
        Database::exec(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
    } else {
        // WAL lets another process read while we write.
        Database::exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    // FULL keeps a committed save on disk.
    Database::exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
    Database::exec(db, QStringLiteral("PRAGMA foreign_keys=OFF"));
    Database::exec(db, QStringLiteral("PRAGMA busy_timeout=5000"));
}

bool hasNoTables(const QSqlDatabase &db)
{
    QSqlQuery q = Database::exec(db, QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table'"));
    return q.next() && q.value(0).toInt() == 0;
}

// The engine could read the file but not write beside it or into it: read-only, disk full,
// the journal's files not creatable. (A busy file is not one of these: it is waited for.)
bool cannotWrite(const QString &engineCode)
{
    switch (sqliteTroubleOf(engineCode)) {
    case EngineTrouble::ReadOnly:
    case EngineTrouble::DiskError:
    case EngineTrouble::Full:
    case EngineTrouble::CannotOpen:
        return true;
    default:
        return false;
    }
}

// SQLite opens a file it may not write read-only without a word, and makes the journal's
// files beside it with the file's own mode: a read-only book would get read-only companions
// that keep refusing saves after the book can be written again. So it is opened for
// viewing from the start, which needs no companions.
void checkWritable(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists() || file.isWritable())
        return;
    const QSqlError refusal(QStringLiteral("The database file is read-only"),
                            QStringLiteral("attempt to write a readonly database"),
                            QSqlError::ConnectionError, QStringLiteral("8")); // SQLITE_READONLY
    throw DatabaseError(userMessage(refusal, path), refusal.nativeErrorCode());
}

// Companions that an earlier run left without write permission (made while the book could
// not be written) would make the engine refuse every save: they are the book's and private.
void mendCompanions(const QString &path)
{
    for (const char *suffix : {"-wal", "-shm"}) {
        const QFileInfo companion(path + QLatin1String(suffix));
        if (companion.exists() && !companion.isWritable() && companion.ownerId() == ::geteuid())
            QFile::setPermissions(companion.filePath(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

// The book's tables and columns are all there; a missing one is told with the file and
// what to do. The engine's own troubles (locked, damaged) keep their messages.
void verifyBook(const QSqlDatabase &db, const QString &path)
{
    try {
        if (hasNoTables(db))
            throw MissingPartError(QStringLiteral("Table 'Product' does not exist"));
        Schema::verify(db);
    } catch (const MissingPartError &error) {
        throw DatabaseError(missingPartsMessage(path, error.message()));
    }
}

void openDriver(QSqlDatabase &db, const QString &name, const QString &options)
{
    db.setDatabaseName(name);
    db.setConnectOptions(options);
    if (!db.open())
        throw DatabaseError(Database::errorText(db.lastError(), db),
                            db.lastError().nativeErrorCode());
}

} // namespace

void SqliteBook::open(QSqlDatabase &db, const QString &path)
{
    if (NetworkShare::holds(path) && !NetworkShare::allowed())
        throw DatabaseError(NetworkShare::refusal(path));
    states().insert(db.connectionName(), {path, false, states().value(db.connectionName())
                                                           .generation + 1});
    try {
        openForWriting(db, path);
    } catch (const DatabaseError &error) {
        db.close();
        const QFileInfo file(path);
        if (!cannotWrite(error.engineCode()) || !file.exists() || file.size() == 0)
            throw;
        try {
            openForViewing(db, path);
        } catch (const DatabaseError &) {
            db.close();
            throw error; // why writing failed says more than why viewing did too
        }
    }
}

void SqliteBook::openForWriting(QSqlDatabase &db, const QString &path)
{
    checkWritable(path);
    mendCompanions(path);
    openDriver(db, path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    // Nothing is written to a file (not even its journal mode) before it is known to be a
    // book: another program's file is refused exactly as it was found.
    const bool empty = hasNoTables(db);
    if (!empty)
        verifyBook(db, path);
    applySettings(db, path);
    if (empty) {
        Transaction transaction(db);
        Schema::create(db);
        transaction.commit();
    }
    states()[db.connectionName()].viewing = false;
}

void SqliteBook::openForViewing(QSqlDatabase &db, const QString &path)
{
    // Read-only and immutable: the engine then needs no journal files beside the book.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("immutable=1"));
    openDriver(db, url.toString(QUrl::FullyEncoded),
               QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    verifyBook(db, path);
    states()[db.connectionName()].viewing = true;
}

void SqliteBook::openReadOnly(QSqlDatabase &db, const QString &path)
{
    const int generation = states().value(db.connectionName()).generation + 1;
    states().insert(db.connectionName(), {path, true, generation, true});
    const QFileInfo file(path);
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=ro"));
    const QString options = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;"
                                           "QSQLITE_BUSY_TIMEOUT=5000");
    try {
        openDriver(db, url.toString(QUrl::FullyEncoded), options);
        if (hasNoTables(db))
            throw DatabaseError(QStringLiteral("資料庫檔案 %1 裡沒有帳本的資料表,"
                                               "不是帳本的資料庫。\n請確認路徑是否正確。")
                                    .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
        verifyBook(db, path);
    } catch (const DatabaseError &error) {
        db.close();
        // In a folder nobody can write to, no one else is saving either: the book is read
        // as it lies, without the shared-memory file the engine cannot make there.
        if (!cannotWrite(error.engineCode()) || QFileInfo(file.absolutePath()).isWritable())
            throw;
        openForViewing(db, path);
    }
}

bool SqliteBook::viewingOnly(const QSqlDatabase &db)
{
    return states().value(db.connectionName()).viewing;
}

void SqliteBook::prepareWrite(QSqlDatabase &db)
{
    if (!viewingOnly(db) || Transaction::isOpen(db))
        return;
    State &state = states()[db.connectionName()];
    if (state.readOnly)
        throw DatabaseError(QStringLiteral("資料庫檔案 %1 只開來讀取,不能寫入。")
                                .arg(QDir::toNativeSeparators(state.path)));
    db.close();
    ++state.generation;
    try {
        openForWriting(db, state.path);
    } catch (const DatabaseError &) {
        db.close();
        openForViewing(db, state.path);
        throw;
    }
}

int SqliteBook::generation(const QSqlDatabase &db)
{
    return states().value(db.connectionName()).generation;
}

void SqliteBook::forget(const QString &connectionName)
{
    states().remove(connectionName);
}

} // namespace tb
