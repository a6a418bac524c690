#pragma once

#include <QString>

class QApplication;

namespace tb {

// Creates every window of the application once, in its fixed order, hidden. A window whose
// creation fails (typically a record set that cannot be opened) stops start-up: its
// message is shown (ShowError), the windows already made are destroyed again and false is
// returned.
bool startUp();

// Start-up as the application runs it: the main window first (false, with the message
// shown, when the database is not ready or the window cannot be made), then the others
// one at a time, so that the user sees the main window at once.
bool startMainWindow();

enum class StartUpStep { More, Done, Failed };
// Makes the next window of the start-up order after the main window. Done when none is
// left (or the main window is not made yet); Failed when it could not be made: its message
// is shown, and the windows made stay until the caller ends start-up with shutDown().
StartUpStep createNextWindow();

// Makes at once every window of the start-up order not made yet: whatever shows a window
// calls it first, since a window may be asked for before the rest of start-up has made it.
// False when one could not be made: its message is shown and the application ends.
bool finishStartUp();

// Destroys the windows in the reverse order of their creation and clears their instances.
void shutDown();

// Names, in creation order, of the windows startUp() makes (for diagnostics and tests).
QStringList windowNames();

// False when no window system can be reached (no QT_QPA_PLATFORM, DISPLAY or
// WAYLAND_DISPLAY on Unix); message then tells the user what to do.
bool displayAvailable(QString *message);

// The whole application: title, start-up, event loop, shut-down. Returns the exit code.
int runApplication(QApplication &app);

} // namespace tb
