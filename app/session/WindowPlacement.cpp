#include "WindowPlacement.h"

#include "UserNumber.h"

#include <QtMath>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

std::optional<int> readPixels(const SettingsStore &settings, const Setting::Key &key)
{
    const auto value = ParseUserWholeNumber(ReadSetting(settings, key), INT32_MIN / 2, INT32_MAX / 2);
    if (!value)
        return std::nullopt;
    return int(*value);
}

std::optional<QRect> rememberedGeometry(const SettingsStore &settings)
{
    const auto left = readPixels(settings, Setting::WindowLeft);
    const auto top = readPixels(settings, Setting::WindowTop);
    const auto width = readPixels(settings, Setting::WindowWidth);
    const auto height = readPixels(settings, Setting::WindowHeight);
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return QRect(*left, *top, *width, *height);
}

} // namespace

QSize ClientSizeAt(double scale)
{
    return QSize(qRound(MainWindowSize::DesignClient.width() * scale),
                 qRound(MainWindowSize::DesignClient.height() * scale));
}

QRect DefaultWindowGeometry(const QRect &available, QSize chrome)
{
    using namespace MainWindowSize;
    const QSize room = available.size() - DecorationAllowance - chrome;
    const double fit =
        std::min(double(room.width()) / DesignClient.width(), double(room.height()) / DesignClient.height());
    const double scale = std::clamp(fit, MinimumScale, PreferredScale);
    const QSize size = ClientSizeAt(scale) + chrome;
    // Too small a screen: as much of the window on it as can be, the menus
    // and START first; a window manager keeps its title bar on the screen.
    if (fit < MinimumScale)
        return QRect(available.topLeft(), size);
    // The allowance is taken as borders of half its width on either side
    // and a title bar with the bottom border in its height.
    const QPoint decoration(DecorationAllowance.width() / 2,
                            DecorationAllowance.height() - DecorationAllowance.width() / 2);
    const QSize framed = size + DecorationAllowance;
    const QPoint frameTopLeft(available.left() + (available.width() - framed.width()) / 2,
                              available.top() + (available.height() - framed.height()) / 2);
    return QRect(frameTopLeft + decoration, size);
}

WindowPlacement ChooseWindowPlacement(const SettingsStore &settings, const QList<QRect> &availableScreens,
                                      const QRect &primaryAvailable, QSize chrome, QSize minimumSize)
{
    WindowPlacement placement;
    placement.maximized = ParseUserBoolean(ReadSetting(settings, Setting::WindowMaximized)).value_or(false);
    if (const auto remembered = rememberedGeometry(settings)) {
        const QRect atLeastMinimum(remembered->topLeft(), remembered->size().expandedTo(minimumSize));
        // A screen that was unplugged, or now has another resolution or
        // scale, would leave the window partly out of reach.
        const bool fits = std::any_of(availableScreens.begin(), availableScreens.end(),
                                      [&](const QRect &screen) { return screen.contains(atLeastMinimum); });
        if (fits) {
            placement.geometry = atLeastMinimum;
            return placement;
        }
    }
    placement.geometry = DefaultWindowGeometry(primaryAvailable, chrome);
    return placement;
}

void SaveWindowPlacement(SettingsStore &settings, const WindowPlacement &placement)
{
    const QRect &g = placement.geometry;
    WriteSetting(settings, Setting::WindowLeft, QString::number(g.left()));
    WriteSetting(settings, Setting::WindowTop, QString::number(g.top()));
    WriteSetting(settings, Setting::WindowWidth, QString::number(g.width()));
    WriteSetting(settings, Setting::WindowHeight, QString::number(g.height()));
    WriteSetting(settings, Setting::WindowMaximized, UserBooleanText(placement.maximized));
}
