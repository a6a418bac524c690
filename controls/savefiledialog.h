#pragma once

#include <QString>

class QWidget;

namespace tb {

// Where the save dialogs start: the user's documents folder, or their home when there is
// no such folder (a dialog pointed at a missing folder would save elsewhere).
QString documentsFolder();

// Asks where to save a file, in a save dialog carrying the object name, opened in the
// documents folder with the proposed name filled in; a name typed without the suffix gets
// it. Returns the chosen path, or an empty text when the user cancels.
QString askSaveFile(QWidget *parent, const QString &objectName, const QString &caption,
                    const QString &filter, const QString &suffix,
                    const QString &proposedName);

} // namespace tb
