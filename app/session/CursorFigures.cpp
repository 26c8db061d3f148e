#include "CursorFigures.h"

#include <QCoreApplication>

#include "DisplayTexts.h"
#include "SampleTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double SecondsPerHour = 3600;

DisplayFigures displayFigures(const RecordingSummary &summary, SummarySeries series, std::int32_t a, std::int32_t b)
{
    DisplayFigures f;
    f.atA = summary.value(series, a);
    f.atB = summary.value(series, b);
    f.delta = f.atB - f.atA;
    const RangeSummary range = summary.range(series, std::min(a, b), std::max(a, b));
    f.min = range.min;
    f.max = range.max;
    f.mean = range.mean();
    return f;
}

} // namespace

AreaUnit AreaUnitOf(const std::string &firstUnitName)
{
    if (firstUnitName == "kW")
        return AreaUnit::KilowattHours;
    if (firstUnitName == "A")
        return AreaUnit::AmpereHours;
    return AreaUnit::None;
}

const char *AreaUnitName(AreaUnit unit)
{
    switch (unit) {
    case AreaUnit::KilowattHours:
        return "kWh";
    case AreaUnit::AmpereHours:
        return "Ah";
    case AreaUnit::None:
        break;
    }
    return "";
}

CursorFigures MeasureBetween(const RecordingSummary &summary, const SampleStore &store, std::int32_t a, std::int32_t b)
{
    CursorFigures f;
    const std::int32_t count = summary.count();
    if (count == 0)
        return f;
    f.a = std::clamp(a, 1, count);
    f.b = std::clamp(b, 1, count);
    f.deltaSeconds = summary.value(SummarySeries::Seconds, f.b) - summary.value(SummarySeries::Seconds, f.a);
    f.first = displayFigures(summary, SummarySeries::FirstValue, f.a, f.b);
    f.second = displayFigures(summary, SummarySeries::SecondValue, f.a, f.b);
    const std::int32_t earlier = std::min(f.a, f.b);
    f.areaUnit = AreaUnitOf(FirstUnitName(store.sample(earlier).FirstUnit));
    if (f.areaUnit != AreaUnit::None)
        f.area = summary.firstArea(earlier, std::max(f.a, f.b)) / SecondsPerHour;
    return f;
}

QString DurationText(double seconds, const QLocale &locale)
{
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    const double span = std::fabs(seconds);
    if (span < 60)
        return sign + locale.toString(span, 'g', 6) + QStringLiteral(" s");
    const auto whole = std::int64_t(std::llround(span));
    const std::int64_t days = whole / 86400;
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(whole / 3600 % 24)
                              .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(whole % 60, 2, 10, QLatin1Char('0'));
    if (days == 0)
        return sign + clock;
    return sign + QStringLiteral("%1 d %2").arg(locale.toString(qlonglong(days)), clock);
}

std::vector<FiguresRow> FiguresRows(const CursorFigures &f, const QString &firstUnit, const QString &secondUnit,
                                    const QLocale &locale)
{
    auto values = [&](const QString &caption, double first, double second) {
        return FiguresRow{caption, ValueText(float(first), firstUnit, locale),
                          ValueText(float(second), secondUnit, locale)};
    };
    std::vector<FiguresRow> rows{
        values(QStringLiteral("A"), f.first.atA, f.second.atA),
        values(QStringLiteral("B"), f.first.atB, f.second.atB),
        FiguresRow{QStringLiteral("\u0394t"), DurationText(f.deltaSeconds, locale), QString()},
        values(QCoreApplication::translate("CursorFigures", "\u0394Value"), f.first.delta, f.second.delta),
        values(QCoreApplication::translate("CursorFigures", "Min"), f.first.min, f.second.min),
        values(QCoreApplication::translate("CursorFigures", "Max"), f.first.max, f.second.max),
        values(QCoreApplication::translate("CursorFigures", "Mean"), f.first.mean, f.second.mean),
    };
    if (f.areaUnit != AreaUnit::None)
        rows.push_back(FiguresRow{
            f.areaUnit == AreaUnit::KilowattHours ? QCoreApplication::translate("CursorFigures", "Energy")
                                                  : QCoreApplication::translate("CursorFigures", "Charge"),
            locale.toString(f.area, 'f', 3) + QLatin1Char(' ') + QLatin1String(AreaUnitName(f.areaUnit)), QString()});
    return rows;
}
