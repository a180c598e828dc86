// How a window sits on the screen: it opens at its preferred size shrunk to the screen's work
// area (the screen without its panels), centred with its frame and never partly off-screen. Its
// controls sit in a scroll area, so that on a screen smaller than they need the window scrolls
// instead of clipping.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace corvela::gui {

// Puts `body`, which holds the window's controls and their layout, in a scroll area that fills
// `window`. The scroll area measures the controls at once: a window calls it once their sizes
// are set.
void hold_in_scroll_area(QWidget* window, QWidget* body);

// Where a window of `wanted` size (frame not included) goes in `area`: the rectangle of its
// frame, `frame` being the frame's margins. The size shrinks to what the area holds; the frame is
// centred and kept inside the area.
QRect fitted(const QRect& area, QSize wanted, const QMargins& frame);

// Sizes `window` to `preferred`, grown to what the controls in its scroll area need and shrunk
// to its screen's work area.
void fit_to_screen(QWidget* window, QSize preferred);
// Centres `window` with its frame on its screen's work area, inside it.
void centre_on_screen(QWidget* window);

}  // namespace corvela::gui
