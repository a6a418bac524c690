#include "data/book/networkshare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <array>

#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#endif

namespace tb {

namespace {

// statfs f_type values of file systems whose files live on another machine.
constexpr std::array<quint64, 14> NetworkTypes = {
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2
    0x517B,     // SMB
    0x6969,     // NFS
    0x65735546, // FUSE (sshfs, rclone, GlusterFS, ...)
    0x01021997, // 9P (virtual machines' shared folders, WSL's drives)
    0x73757245, // Coda
    0x5346414F, // AFS (kAFS)
    0x6B414653, // AFS (OpenAFS)
    0x564C,     // NCP (NetWare)
    0x00C36400, // Ceph
    0x0BD00BD0, // Lustre
    0x47504653, // GPFS
    0x013111A8, // IBRIX
};

// The file itself when it exists, else the nearest folder above it that does.
QString existingPlace(const QString &path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    while (!info.exists() && !info.isRoot()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

} // namespace

bool NetworkShare::isNetworkType(quint64 fileSystemType)
{
    for (const quint64 type : NetworkTypes) {
        if (type == fileSystemType)
            return true;
    }
    return false;
}

bool NetworkShare::holds(const QString &path)
{
#if defined(Q_OS_LINUX)
    struct statfs info {};
    if (::statfs(QFile::encodeName(existingPlace(path)).constData(), &info) != 0)
        return false;
    // f_type is signed on some architectures: the magic numbers are 32-bit patterns.
    return isNetworkType(quint64(quint32(info.f_type)));
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool NetworkShare::allowed()
{
    return QSettings(QStringLiteral("tradebook"), QStringLiteral("tradebook"))
        .value(QStringLiteral("database/allowNetworkShare"), false)
        .toBool();
}

QString NetworkShare::refusal(const QString &path)
{
    return QStringLiteral(
               "資料庫檔案 %1 位於網路磁碟 (網路芳鄰、NFS、sshfs 等) 上,本系統不開啟這樣的檔案:"
               "多部電腦同時開啟時,檔案會損壞。請把檔案搬到本機的磁碟上;要在多部電腦共用"
               "資料,請改用伺服器上的資料庫 (postgresql://)。")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
        + QLatin1Char('\n')
        + QStringLiteral("The file system of %1 reaches another machine; set "
                         "database/allowNetworkShare=true to open it on one PC at a time.")
              .arg(QFileInfo(path).absolutePath());
}

} // namespace tb
