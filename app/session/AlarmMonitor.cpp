#include "AlarmMonitor.h"

#include "UserNumber.h"

#include <QCoreApplication>

namespace {

QString withUnit(float value, const std::string &unit)
{
    const QString number = UserFloatText(value);
    return unit.empty() ? number : number + QLatin1Char(' ') + QString::fromStdString(unit);
}

bool same(const DisplayLimits &a, const DisplayLimits &b)
{
    return a.high == b.high && a.low == b.low;
}

bool same(const LimitSettings &a, const LimitSettings &b)
{
    return same(a.first, b.first) && same(a.second, b.second) && a.hysteresis == b.hysteresis;
}

} // namespace

QString AlarmStatusText(const LimitEvent &event)
{
    const char *text = nullptr;
    const bool first = event.display == AlarmDisplay::First;
    switch (event.direction) {
    case AlarmDirection::AboveHigh:
        text = first ? QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm: first display above high limit %1: %2")
                     : QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm: second display above high limit %1: %2");
        break;
    case AlarmDirection::BackBelowHigh:
        text = first ? QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm cleared: first display back below high limit %1: %2")
                     : QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm cleared: second display back below high limit %1: %2");
        break;
    case AlarmDirection::BelowLow:
        text = first ? QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm: first display below low limit %1: %2")
                     : QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm: second display below low limit %1: %2");
        break;
    case AlarmDirection::BackAboveLow:
        text = first ? QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm cleared: first display back above low limit %1: %2")
                     : QT_TRANSLATE_NOOP("AlarmMonitor", "Alarm cleared: second display back above low limit %1: %2");
        break;
    }
    return QCoreApplication::translate("AlarmMonitor", text)
        .arg(withUnit(event.limitValue, event.unit), withUnit(event.value, event.unit));
}

AlarmMonitor::AlarmMonitor(QObject *parent) : QObject(parent) {}

void AlarmMonitor::reset()
{
    const bool shown = firstHigh_ || firstLow_ || secondHigh_ || secondLow_ || !statusText_.isEmpty();
    firstHigh_ = firstLow_ = secondHigh_ = secondLow_ = false;
    statusText_.clear();
    if (shown)
        emit changed();
}

void AlarmMonitor::start(const AlarmSettings &settings)
{
    settings_ = settings;
    alarm_.emplace(settings_.limits);
    reset();
}

void AlarmMonitor::apply(const AlarmSettings &settings)
{
    const bool newLimits = !same(settings.limits, settings_.limits);
    settings_ = settings;
    if (running() && newLimits) {
        alarm_.emplace(settings_.limits);
        reset();
    }
}

void AlarmMonitor::stop()
{
    alarm_.reset();
    reset();
}

bool AlarmMonitor::inAlarm(AlarmDisplay display) const
{
    return display == AlarmDisplay::First ? firstHigh_ || firstLow_ : secondHigh_ || secondLow_;
}

std::vector<LimitEvent> AlarmMonitor::sampleAppended(const Sample &sample, std::int32_t index)
{
    if (!alarm_)
        return {};
    std::vector<LimitEvent> events = alarm_->sampleAppended(sample, index);
    bool raised = false;
    for (const LimitEvent &event : events) {
        const bool first = event.display == AlarmDisplay::First;
        const bool high = event.limit == AlarmLimit::High;
        bool &crossed = first ? (high ? firstHigh_ : firstLow_) : (high ? secondHigh_ : secondLow_);
        crossed = event.direction == AlarmDirection::AboveHigh || event.direction == AlarmDirection::BelowLow;
        raised = raised || crossed;
        statusText_ = AlarmStatusText(event);
    }
    if (!events.empty())
        emit changed();
    if (raised && settings_.sound)
        emit soundRequested();
    return events;
}
