#include "gui/placement.h"

#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

namespace corvela::gui {

namespace {
QMargins margins_of(const QWidget* w) {
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The window's frame once shown; before, the frame of the window it opens from, which the window
// manager draws alike (the main window, placed before it is shown, counts without one).
QMargins frame_of(const QWidget* window) {
    if (window->isVisible()) return margins_of(window);
    const QWidget* parent = window->parentWidget();
    if (parent && parent->window()->isVisible()) return margins_of(parent->window());
    return {};
}

QRect work_area(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

void hold_in_scroll_area(QWidget* window, QWidget* body) {
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

QRect fitted(const QRect& area, QSize wanted, const QMargins& frame) {
    QRect outer(QPoint(), wanted.boundedTo(area.size().shrunkBy(frame)).grownBy(frame));
    outer.moveCenter(area.center());
    if (outer.right() > area.right()) outer.moveRight(area.right());
    if (outer.bottom() > area.bottom()) outer.moveBottom(area.bottom());
    if (outer.left() < area.left()) outer.moveLeft(area.left());
    if (outer.top() < area.top()) outer.moveTop(area.top());
    return outer;
}

void fit_to_screen(QWidget* window, QSize preferred) {
    if (const auto* scroll = window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
        scroll && scroll->widget())
        preferred = preferred.expandedTo(scroll->widget()->minimumSizeHint());

    const QRect area = work_area(window);
    if (area.isEmpty()) return window->resize(preferred);
    const QMargins frame = frame_of(window);
    window->resize(fitted(area, preferred, frame).size().shrunkBy(frame));
}

void centre_on_screen(QWidget* window) {
    const QRect area = work_area(window);
    if (area.isEmpty()) return;
    // A window's position is that of its frame.
    window->move(fitted(area, window->size(), frame_of(window)).topLeft());
}

}  // namespace corvela::gui
