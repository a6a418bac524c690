#pragma once

#include <QString>
#include <QtGlobal>

namespace tb {

// An SQLite book must lie on a disk of this PC: its write-ahead log needs memory shared on
// one machine, and the file locks of network file systems (SMB/CIFS, NFS, sshfs and other
// FUSE mounts) cannot be trusted, so several PCs opening it damage it. The check reads the
// file system type of the book's folder and never writes.
class NetworkShare
{
public:
    // True for the file system types (statfs f_type) that reach another machine.
    static bool isNetworkType(quint64 fileSystemType);
    // True when the file, or the nearest folder above it that exists, lies on such a file
    // system. False where the type cannot be read (no such call on this platform).
    static bool holds(const QString &path);
    // The settings entry database/allowNetworkShare: an expert opens such a book anyway, on
    // one PC at a time (the book then keeps other PCs out while it is open).
    static bool allowed();
    // Why a book on a share is refused, naming the path, and where to turn instead.
    static QString refusal(const QString &path);
};

} // namespace tb
