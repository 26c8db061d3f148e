#include "SplitRecorder.h"

#include "OleDate.h"
#include "TrendView.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

SplitRecorder::SplitRecorder(SampleStore &store, const SplitSettings &settings, QObject *parent)
    : QObject(parent), store_(store), settings_(settings)
{
}

SplitRecorder::~SplitRecorder() = default;

bool SplitRecorder::start()
{
    if (!settings_.splitEvery) {
        startFile(settings_.out);
        emit fileStarted(settings_.out, SplitReason::First);
        return problem_.isEmpty();
    }
    // The files are made as their first samples come; a folder that cannot
    // take them is known now.
    const QFileInfo folder(QFileInfo(settings_.out).absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        setProblem(tr("cannot write %1: the folder %2 is missing or cannot be written")
                       .arg(QDir::toNativeSeparators(settings_.out), QDir::toNativeSeparators(folder.filePath())));
    return problem_.isEmpty();
}

bool SplitRecorder::splitDue(const Sample &newest) const
{
    if (std::int64_t(store_.SampleCount) + 1 > settings_.recordLimit)
        return true;
    return settings_.splitEvery && double(newest.Seconds) - double(fileStartSeconds_) >= *settings_.splitEvery;
}

void SplitRecorder::sampleAppended()
{
    const Sample newest = store_.sample(store_.SampleCount);
    if (writer_ && !splitDue(newest)) {
        UpdateStatisticsRecord(store_);
        writer_->update();
        return;
    }

    SplitReason reason = SplitReason::First;
    if (writer_) {
        reason = std::int64_t(store_.SampleCount) + 1 > settings_.recordLimit ? SplitReason::RecordLimit
                                                                              : SplitReason::Interval;
        // The file ends with the sample before; its statistics record does
        // not count the newest one yet.
        --store_.SampleCount;
        writer_->writeAndSync();
        store_.Load({Sample(), newest});
    }
    UpdateStatisticsRecord(store_);
    // Without splitting the first file was made at the start.
    const bool firstFile = !writer_ && !settings_.splitEvery;
    const QString path = firstFile ? settings_.out : SeriesFileName(settings_.out, newest.Stamp);
    fileStartSeconds_ = newest.Seconds;
    startFile(path);
    emit fileStarted(path, reason);
}

bool SplitRecorder::finish()
{
    if (!writer_)
        return problem_.isEmpty();
    writer_->writeAndSync();
    return problem_.isEmpty();
}

QString SplitRecorder::path() const
{
    return writer_ ? writer_->path() : QString();
}

void SplitRecorder::startFile(const QString &path)
{
    writer_ = std::make_unique<RecordingWriter>(store_, path, RecordingFileSetup());
    connect(writer_.get(), &RecordingWriter::problemChanged, this, &SplitRecorder::setProblem);
    setProblem(QString());
    writer_->update();
}

void SplitRecorder::setProblem(const QString &problem)
{
    if (problem == problem_)
        return;
    problem_ = problem;
    emit problemChanged(problem_);
}

QString SplitRecorder::SeriesStem(const QString &out)
{
    const QFileInfo info(out);
    return QDir(info.path()).filePath(info.suffix().isEmpty() ? info.fileName() : info.completeBaseName());
}

QString SplitRecorder::SeriesFileName(const QString &out, double stamp)
{
    QDateTime time = OleDateToLocal(stamp);
    if (!time.isValid())
        time = QDateTime::currentDateTime();
    const QString stem = SeriesStem(out) + QLatin1Char('-') + time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // Two files in one second, or a file left by an earlier run: never overwritten.
    QString candidate = stem + QStringLiteral(".KRD");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QStringLiteral("-%1.KRD").arg(n);
    return candidate;
}

std::optional<double> ParseDuration(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+(?:\\.[0-9]+)?)([smhd]?)$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double number = QLocale::c().toDouble(match.captured(1), &ok);
    const QString unit = match.captured(2);
    const double factor = unit == QLatin1String("d")   ? 86400
                          : unit == QLatin1String("h") ? 3600
                          : unit == QLatin1String("m") ? 60
                                                       : 1;
    const double seconds = number * factor;
    if (!ok || !std::isfinite(seconds) || seconds <= 0)
        return std::nullopt;
    return seconds;
}
