#include "ListReport.h"

#include "DisplayTexts.h"
#include "MeterFrame.h"
#include "PrintTexts.h"
#include "SampleTexts.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

struct Column {
    double x;
    const char *title;
};

constexpr Column Columns[] = {
    {20, "FirstValue"},  {40, "FirstUnit"},  {60, "Function1"},  {80, "SecondValue"},
    {100, "SecondUnit"}, {120, "Function2"}, {140, "Date&Time"}, {180, "Note"},
};

constexpr double TitleY = 30;
constexpr double FirstRowY = 40;
constexpr double RowStep = 6;

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// Over-range is stored as exactly 9999.
QString firstValueCell(float value)
{
    return value == OverloadValue ? QStringLiteral("OL") : PrintedSingle(value);
}

void printAt(PageSurface &surface, double x, double y, const QString &cell)
{
    surface.SetTextPosition(x, y);
    surface.Print(TextLine(cell));
}

} // namespace

void DrawListPage(PageSurface &surface, const ProgramState &state, SampleRange window, int headerRuleWidth,
                  const QDateTime &printTime)
{
    surface.SetPenWidth(headerRuleWidth);
    surface.SetScale(0, 0, 210, 297);
    surface.DrawLine(20, 35, 0.92 * surface.ScaleWidth(), 35, Black);
    surface.SetPenWidth(1);

    surface.SetTextPosition(20, 20);
    surface.Print(TextLine(QCoreApplication::translate("ListReport", "File Name:")).Adjacent(state.RecordFileName));
    surface.SetTextPosition(20, 25);
    surface.Print(TextLine(QCoreApplication::translate("ListReport", "Date:")).NextZone(PrintDateText(printTime)));
    for (const Column &column : Columns)
        printAt(surface, column.x, TitleY, QString::fromLatin1(column.title));

    const SampleStore &store = state.store;
    const std::int32_t first = std::max(window.first, 1);
    const std::int32_t last = std::min(window.last, store.SampleCount);
    for (std::int32_t k = 0; k < ListPageRows && first + k <= last; ++k) {
        const Sample &s = store.sample(first + k);
        const double y = FirstRowY + RowStep * k;
        const QString cells[] = {
            firstValueCell(s.FirstValue),
            text(FirstUnitName(s.FirstUnit)),
            QStringLiteral("AC"),
            text(SecondValueText(s.Mode, s.SecondValue)),
            text(SecondUnitName(s.SecondUnit)),
            text(SecondFunctionText(s.Mode)),
            TimeText(s.Stamp),
            text(NoteText(s.Symbols2)),
        };
        for (std::size_t c = 0; c < std::size(Columns); ++c)
            printAt(surface, Columns[c].x, y, cells[c]);
    }
}
