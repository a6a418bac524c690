#include "data/book/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tb {

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner
                                               | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions OwnerFolder = OwnerOnly | QFileDevice::ExeOwner;

} // namespace

bool PrivateFiles::makeFolders(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (info.exists())
        return false;
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath() || !makeFolders(parent))
        return false;
    // The mode is given at creation, so the folder is never open to others meanwhile.
    return QDir().mkdir(info.absoluteFilePath(), OwnerFolder);
}

bool PrivateFiles::createEmpty(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly))
        return false;
    // A umask that takes the owner's own rights away would leave a book it cannot write.
    return file.setPermissions(OwnerOnly);
}

void PrivateFiles::removeBook(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace tb
