#pragma once

#include <QtGlobal>

namespace tb {

// Counts the statements the application sends to its database: on a server each is a round
// trip (preparing a statement, executing it, releasing it, beginning or ending a
// transaction), and on the office network a round trip costs about half a millisecond,
// so the count of a user action tells whether it stays within one frame. On SQLite only
// executions count (preparing compiles locally). The benchmark reads it around each action.
class StatementCounter
{
public:
    static qint64 count() { return s_count; }
    static void add(int statements = 1) { s_count += statements; }

private:
    static inline qint64 s_count = 0; // one thread runs every statement
};

} // namespace tb
