// The drives of the drive list: the mounted volumes of the workstation, each with the type number
// the drive information message names (removable 1, fixed 2, network 3, CD-ROM 4, RAM disk 5,
// anything else 0).
#pragma once

#include <QString>
#include <vector>

class QStorageInfo;

namespace corvela::gui {

struct Volume {
    QString root;   // the volume's root folder; the drive's name in messages
    QString label;  // the volume's name, empty when it has none
    int type = 0;
    bool ready = false;
    // The entry of the drive list: root, then the label in brackets when there is one.
    QString entry() const;
};

std::vector<Volume> mounted_volumes();
int drive_type(const QStorageInfo& volume);
// "Dispositivo Desconocido", "Unidad de lectura Separable", ...; empty for other numbers.
QString drive_type_name(int type);

}  // namespace corvela::gui
