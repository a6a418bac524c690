#pragma once

#include <QStringList>

namespace tb {

// tradebook --copy-database FROM TO: copies a whole book between an SQLite file and a
// PostgreSQL database (see BookCopier), with a progress line on the terminal. Needs no
// display. values are FROM and TO. Returns the process's exit code: 0 when the copy is
// complete, 1 when it failed (nothing was written, and a target file it made is gone
// again). A password written into either URI is never printed: it shows as ***.
int runCopyCommand(int &argc, char **argv, const QStringList &values);

} // namespace tb
