#include "gui/drives.h"

#include <QDir>
#include <QStorageInfo>

namespace corvela::gui {

QString Volume::entry() const {
    return label.isEmpty() ? root : root + QStringLiteral(" [") + label + QLatin1Char(']');
}

int drive_type(const QStorageInfo& volume) {
    const QString fs = QString::fromLatin1(volume.fileSystemType()).toLower();
    const QString device = QString::fromLocal8Bit(volume.device());
    const QString root = volume.rootPath();
    if (fs == QLatin1String("tmpfs") || fs == QLatin1String("ramfs")) return 5;
    if (fs == QLatin1String("iso9660") || fs == QLatin1String("udf")) return 4;
    static const char* const network[] = {"nfs",        "nfs4", "cifs", "smb3", "smbfs",
                                          "fuse.sshfs", "9p",   "afs",  "ncpfs"};
    for (const char* n : network)
        if (fs == QLatin1String(n)) return 3;
    // Sticks and cards are mounted under the media folders of the desktop session.
    if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/")))
        return 1;
    if (device.startsWith(QLatin1String("/dev/")) || fs == QLatin1String("overlay") ||
        fs == QLatin1String("ntfs") || fs == QLatin1String("fuseblk"))
        return 2;
    return 0;
}

QString drive_type_name(int type) {
    switch (type) {
        case 0:
            return QStringLiteral("Dispositivo Desconocido");
        case 1:
            return QStringLiteral("Unidad de lectura Separable");
        case 2:
            return QStringLiteral("Disco Fijo");
        case 3:
            return QStringLiteral("Unidad de Red");
        case 4:
            return QStringLiteral("CD-ROM");
        case 5:
            return QStringLiteral("Disco RAM Removible");
        default:
            return {};
    }
}

std::vector<Volume> mounted_volumes() {
    std::vector<Volume> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid()) continue;
        volumes.push_back({QDir::cleanPath(v.rootPath()), v.name(), drive_type(v), v.isReady()});
    }
    return volumes;
}

}  // namespace corvela::gui
