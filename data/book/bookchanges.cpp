#include "data/book/bookchanges.h"

#include <QFileInfo>

namespace tb {

namespace {

// When the book's files were last written; an empty log is only a reader's.
QDateTime lastWritten(const QString &book)
{
    QDateTime last = QFileInfo(book).lastModified();
    const QFileInfo log(book + QStringLiteral("-wal"));
    if (log.exists() && log.size() > 0 && log.lastModified() > last)
        last = log.lastModified();
    return last;
}

// When the application ends, its last copy is taken just before the book's connection
// closes, and closing moves the log into the file: the same saves, written once more.
constexpr qint64 ClosingSeconds = 120;

} // namespace

BookChanges::BookChanges(const QString &book, const QDateTime &lastCopy)
    : m_connection(book, OwnConnection::Mode::ReadOnly),
      m_pending(!lastCopy.isValid() || lastWritten(book) > lastCopy.addSecs(ClosingSeconds))
{
}

bool BookChanges::pending()
{
    const qint64 version = dataVersion();
    if (m_version >= 0 && version != m_version) {
        m_pending = true;
        m_moved = true;
    }
    m_version = version;
    return m_pending;
}

void BookChanges::copied()
{
    m_pending = false;
}

qint64 BookChanges::dataVersion()
{
    QSqlQuery query = m_connection.run(QStringLiteral("PRAGMA data_version"));
    return query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace tb
