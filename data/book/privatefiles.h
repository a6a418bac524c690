#pragma once

#include <QString>

namespace tb {

// Folders and book files the application makes are its user's alone, whatever the umask:
// folders 0700 (as the XDG base-directory rules ask), books 0600. The engine gives a book's
// companion files (-wal, -shm, -journal) the book's own mode, so they follow. Documents the
// user saves (PDF, CSV) are not made here: they follow the umask, to be handed on.
class PrivateFiles
{
public:
    // Makes the folder and every missing folder above it, each 0700. False when one could
    // not be made.
    static bool makeFolders(const QString &folder);
    // Creates the file, empty and 0600; false when it exists already or cannot be made.
    static bool createEmpty(const QString &path);
    // Removes a book file and whatever companion files the engine left beside it.
    static void removeBook(const QString &path);
};

} // namespace tb
