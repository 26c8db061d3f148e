// The settings load over any text in the settings file, under a locale with a
// decimal point and under one with a decimal comma.

#include "FuzzChart.h"
#include "FuzzSupport.h"
#include "StartupSettings.h"

#include <QLocale>

#include <cmath>

namespace {

bool finite(float value)
{
    return std::isfinite(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ScratchFile ini(".conf", data, size);
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        const SettingsStore settings(ini.path());
        ProgramState state;
        FuzzChart chart1, chart2;
        LoadStoredSettings(settings, state, chart1, chart2);

        const std::int16_t port = LoadStoredPortNumber(settings);
        FUZZ_CHECK(port >= 1 && port <= 4);
        FUZZ_CHECK(finite(chart1.TopY()) && finite(chart1.BottomY()) && finite(chart1.Rightx()));
        FUZZ_CHECK(finite(chart2.TopY()) && finite(chart2.BottomY()));
        FUZZ_CHECK(chart2.Rightx() == chart1.Rightx());
        FUZZ_CHECK(chart2.LineWidth() == chart1.LineWidth());
        FUZZ_CHECK(finite(state.store.InterValue));
        FUZZ_CHECK(state.store.SampleInterval == (state.store.AutoInterval ? 0.0f : state.store.InterValue));
    }
    QLocale::setDefault(QLocale::c());
    return 0;
}
