#include "OptionSettings.h"

#include "SettingRanges.h"
#include "StartupSettings.h"
#include "UserNumber.h"

#include <QCoreApplication>

#include <cfloat>
#include <cmath>

namespace {

const char *const NotNumeric = QT_TRANSLATE_NOOP("OptionSettings", "You must input numeric!!!");
const char *const IntervalOutOfRange = QT_TRANSLATE_NOOP("OptionSettings", "600>InterValue>0");
const char *const XOutOfRange = QT_TRANSLATE_NOOP("OptionSettings", "input error!!!!, Please input  '5=<X<300'");
const char *const LimitNotNumeric =
    QT_TRANSLATE_NOOP("OptionSettings", "A limit must be a number, or empty for no limit");
const char *const HysteresisOutOfRange =
    QT_TRANSLATE_NOOP("OptionSettings", "The hysteresis must be a number, 0 or more and below 10000");

// In the user's language, looked up when shown: the translation is installed after start-up.
QString message(const char *text)
{
    return QCoreApplication::translate("OptionSettings", text);
}

OleColor defaultColor(const Setting::Key &key)
{
    return QString::fromLatin1(key.defaultText).toUInt();
}

QString colorText(OleColor color)
{
    return QString::number(color);
}

std::optional<QString> checkInterval(const QString &text)
{
    const auto value = ParseUserNumber(text);
    if (!value)
        return message(NotNumeric);
    if (!InterValueRange.contains(*value))
        return message(IntervalOutOfRange);
    return std::nullopt;
}

std::optional<QString> checkXMax(const QString &text)
{
    const auto value = ParseUserNumber(text);
    if (!value || !XMaxRange.contains(*value))
        return message(XOutOfRange);
    return std::nullopt;
}

std::optional<QString> checkYBound(const QString &text)
{
    if (text == QLatin1String("-") || text == QLatin1String("+") || ParseUserNumber(text))
        return std::nullopt;
    return message(NotNumeric);
}

std::optional<QString> checkAlarmLimit(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    // Kept as a single float: beyond its range the limit would not load.
    const auto value = ParseUserNumber(text);
    if (value && std::fabs(*value) <= double(FLT_MAX))
        return std::nullopt;
    return message(LimitNotNumeric);
}

std::optional<QString> checkHysteresis(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const auto value = ParseUserNumber(text);
    if (!value || !HysteresisRange.contains(*value))
        return message(HysteresisOutOfRange);
    return std::nullopt;
}

} // namespace

SwatchColors DefaultSwatchColors()
{
    SwatchColors colors;
    colors.FTBkColor = defaultColor(Setting::FirstBkColor);
    colors.STBkColor = defaultColor(Setting::SecondBkColor);
    colors.FTForeColor = defaultColor(Setting::FirstLineColor);
    colors.STForeColor = defaultColor(Setting::SecondLineColor);
    colors.FTGridColor = defaultColor(Setting::FirstGridColor);
    colors.STGridColor = defaultColor(Setting::SecondGridColor);
    return colors;
}

OptionTexts CurrentOptionTexts(const ProgramState &state, const TrendChart &chart1, const TrendChart &chart2)
{
    OptionTexts texts;
    texts.txtInterValue1 = UserFloatText(state.store.InterValue);
    texts.txtYMax1 = UserFloatText(chart1.TopY());
    texts.txtYMin1 = UserFloatText(chart1.BottomY());
    texts.txtYMax2 = UserFloatText(chart2.TopY());
    texts.txtYMin2 = UserFloatText(chart2.BottomY());
    texts.txtXMax = UserFloatText(chart1.Rightx());
    texts.colors.FTBkColor = chart1.TrendBackColor();
    texts.colors.FTForeColor = state.view.FirstLineColor;
    texts.colors.STBkColor = chart2.TrendBackColor();
    texts.colors.STForeColor = state.view.SecondLineColor;
    texts.colors.FTGridColor = chart1.GridColor();
    texts.colors.STGridColor = chart2.GridColor();
    texts.FirstCol = QString::number(chart1.GridCols());
    texts.FirstRow = QString::number(chart1.GridRows());
    texts.SecondCol = QString::number(chart2.GridCols());
    texts.SecondRow = QString::number(chart2.GridRows());
    texts.LineWidth = QString::number(chart1.LineWidth());
    texts.DiscardDamaged = state.acquisition.DiscardDamagedFrames;
    return texts;
}

std::optional<QString> CheckNumberBox(NumberBox box, const QString &text)
{
    switch (box) {
    case NumberBox::InterValue:
        return checkInterval(text);
    case NumberBox::XMax:
        return checkXMax(text);
    case NumberBox::YBound:
        return checkYBound(text);
    case NumberBox::AlarmLimit:
        return checkAlarmLimit(text);
    case NumberBox::Hysteresis:
        return checkHysteresis(text);
    }
    return message(NotNumeric);
}

void CommitOptions(const OptionTexts &texts, ProgramState &state, SettingsStore &settings, TrendChart &chart1,
                   TrendChart &chart2)
{
    WriteSetting(settings, Setting::InterValue, texts.txtInterValue1);
    WriteSetting(settings, Setting::TimeMode, UserBooleanText(state.view.TimeMode));
    WriteSetting(settings, Setting::FirstTopY, texts.txtYMax1);
    WriteSetting(settings, Setting::FirstBottomY, texts.txtYMin1);
    WriteSetting(settings, Setting::SecondTopY, texts.txtYMax2);
    WriteSetting(settings, Setting::SecondBottomY, texts.txtYMin2);
    WriteSetting(settings, Setting::FirstRightX, texts.txtXMax);
    WriteSetting(settings, Setting::FirstBkColor, colorText(texts.colors.FTBkColor));
    WriteSetting(settings, Setting::FirstLineColor, colorText(texts.colors.FTForeColor));
    WriteSetting(settings, Setting::SecondBkColor, colorText(texts.colors.STBkColor));
    WriteSetting(settings, Setting::SecondLineColor, colorText(texts.colors.STForeColor));
    WriteSetting(settings, Setting::FirstGridCols, texts.FirstCol);
    WriteSetting(settings, Setting::FirstGridRows, texts.FirstRow);
    WriteSetting(settings, Setting::SecondGridCols, texts.SecondCol);
    WriteSetting(settings, Setting::SecondGridRows, texts.SecondRow);
    WriteSetting(settings, Setting::FirstGridColor, colorText(texts.colors.FTGridColor));
    WriteSetting(settings, Setting::SecondGridColor, colorText(texts.colors.STGridColor));
    WriteSetting(settings, Setting::AutoInterval, UserBooleanText(state.store.AutoInterval));
    WriteSetting(settings, Setting::LineWidth, texts.LineWidth);
    WriteSetting(settings, Setting::DiscardDamagedFrames, UserBooleanText(texts.DiscardDamaged));
    settings.sync();

    // The charts and variables take what was just stored, converted exactly as
    // at the next start, so both always agree.
    LoadStoredSettings(settings, state, chart1, chart2);
    chart1.Refresh();
    chart2.Refresh();
}
