#pragma once

#include <QStringList>

namespace tb {

// tradebook --copy-database FROM TO: copies a whole book between an SQLite file and a
// PostgreSQL database (see BookCopier), with a progress line on the terminal. Needs no
// display.
bool isCopyCommand(const QStringList &arguments);
// Returns the process's exit code: 0 when the copy is complete, 1 when it failed (nothing
// was written), 2 for a command line it cannot read.
int runCopyCommand(const QStringList &arguments);

} // namespace tb
