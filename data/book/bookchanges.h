#pragma once

#include "data/book/ownconnection.h"

#include <QDateTime>
#include <QString>

namespace tb {

// Whether an SQLite book has been written since its last copy. Within a run the engine
// tells it (its data version moves with every commit by any other connection); for what
// happened before, the files' times are compared with the last copy's. Lives on the thread
// that makes it: the connection it keeps is that thread's.
class BookChanges
{
public:
    // lastCopy: when the newest copy was taken; invalid when there is none.
    BookChanges(const QString &book, const QDateTime &lastCopy);

    // True while a change has not been copied. Reads the data version; throws
    // DatabaseError when the book cannot be read.
    bool pending();
    // A copy has been taken that holds every change pending() saw.
    void copied();
    // True when the data version moved since the first pending(): the book was written
    // while this object watched it.
    bool changedSinceFirstLook() const { return m_moved; }

private:
    qint64 dataVersion();

    OwnConnection m_connection;
    qint64 m_version = -1;
    bool m_pending = false;
    bool m_moved = false;
};

} // namespace tb
