#include "gui/identity.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace corvela::gui {

QIcon corvela_icon() {
    QSvgRenderer drawing(QStringLiteral(":/corvela/corvela.svg"));
    QIcon icon;
    if (!drawing.isValid()) return icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawing.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void identify_program() {
    // The window class is the application's name: "corvela", as the menu entry is named.
    QApplication::setApplicationName(QStringLiteral("corvela"));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvela"));
    QApplication::setWindowIcon(corvela_icon());
}

}  // namespace corvela::gui
