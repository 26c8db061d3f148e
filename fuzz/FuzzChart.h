#pragma once

// A trend chart without pixels for the fuzz targets: it keeps the properties
// that the settings and the trend view set, exactly as they are set, and
// redraws through the trend view when refreshed, as a real chart raises Paint.
// What is drawn is dropped.

#include "ChartSettings.h"

#include <functional>

class FuzzChart final : public ChartSettings {
public:
    FuzzChart() : ChartSettings(Bounds::AsGiven) {}

    std::function<void()> onRefresh;

    void Refresh() override
    {
        if (onRefresh)
            onRefresh();
    }
};
