#pragma once

// Where and how large the main window opens, and what is remembered of it
// between runs. Sizes are device-independent pixels; the client area is the
// part below the menu bar and above the status bar, where the controls are
// laid out in proportion to their design size.

#include "SettingsStore.h"

#include <QList>
#include <QRect>
#include <QSize>

namespace MainWindowSize {
// The client area the controls are designed for.
constexpr QSize DesignClient(1000, 680);
// With room on the screen the window opens at this share of the design size.
constexpr double PreferredScale = 1.12;
// The smallest share at which every text is still legible and fits its control.
constexpr double MinimumScale = 0.7;
// The window manager's title bar and borders, which a window learns only once
// it is shown; the first size leaves this much room for them.
constexpr QSize DecorationAllowance(16, 40);
} // namespace MainWindowSize

// The design client area at a share of its size.
QSize ClientSizeAt(double scale);

struct WindowPlacement {
    QRect geometry; // the window without the window manager's frame
    bool maximized = false;
};

// The window at the largest share of the design size, up to the preferred
// one, that fits the available area with room for the decoration, centred in
// it. chrome is what the window adds to its client area (menu bar, status
// bar). An area too small even for the minimum size gets the window at that
// size in its top-left corner.
QRect DefaultWindowGeometry(const QRect &available, QSize chrome);

// The remembered placement when its area lies wholly within the available
// area of one of the screens present and is not below minimumSize; otherwise
// the default on the primary screen. A remembered maximized state stays.
WindowPlacement ChooseWindowPlacement(const SettingsStore &settings, const QList<QRect> &availableScreens,
                                      const QRect &primaryAvailable, QSize chrome, QSize minimumSize);

void SaveWindowPlacement(SettingsStore &settings, const WindowPlacement &placement);
