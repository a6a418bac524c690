#pragma once

#include <QString>
#include <QStringList>

namespace tb {

// tradebook --sample-book FILE: writes a new book holding a small sample business (see
// SampleBook), to try the application on. Needs no display.
inline constexpr const char *SampleBookOption = "--sample-book";

// Needs a QCoreApplication. Returns the process's exit code: 0 when the book is written, 1
// when it is not (an existing FILE is never touched, and nothing is left behind), 2 for a
// command line it cannot read.
int runSampleBookCommand(const QStringList &arguments);

} // namespace tb
