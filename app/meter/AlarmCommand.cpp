#include "AlarmCommand.h"

#include <QDeadlineTimer>

AlarmCommand::AlarmCommand(const QString &commandLine, QObject *parent) : QObject(parent)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (!words.isEmpty()) {
        program_ = words.takeFirst();
        arguments_ = words;
    }
}

AlarmCommand::~AlarmCommand()
{
    if (running_) {
        running_->disconnect(this);
        running_->kill();
        running_->waitForFinished(1000);
        delete running_;
    }
}

QProcessEnvironment AlarmCommand::environmentFor(const LimitEvent &event) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : LimitEventFields(event))
        environment.insert(QStringLiteral("AMPERO_ALARM_") + QString::fromStdString(name),
                           QString::fromStdString(value));
    environment.insert(QStringLiteral("AMPERO_ALARM_FILE"), recordingFile_);
    return environment;
}

void AlarmCommand::run(const LimitEvent &event)
{
    if (isEmpty())
        return;
    if (waiting_.size() >= MaxWaiting) {
        emit problem(
            tr("the alarm command is still busy; %1 not passed on").arg(QString::fromStdString(LimitEventText(event))));
        return;
    }
    waiting_.push_back(event);
    if (!running_)
        startNext();
}

void AlarmCommand::startNext()
{
    while (!running_ && !waiting_.empty()) {
        const LimitEvent event = waiting_.front();
        waiting_.pop_front();
        auto *process = new QProcess(this);
        process->setProgram(program_);
        process->setArguments(arguments_);
        process->setProcessEnvironment(environmentFor(event));
        // Its output goes where ours goes (the journal under systemd); it reads nothing.
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setStandardInputFile(QProcess::nullDevice());
        process->start();
        // Only as long as fork and exec take; a command that is slow to come
        // up on a busy machine still counts as started.
        if (!process->waitForStarted(5000) && process->state() == QProcess::NotRunning) {
            emit problem(tr("the alarm command %1 cannot be started: %2").arg(program_, process->errorString()));
            delete process;
            continue;
        }
        running_ = process;
        connect(process, &QProcess::finished, this, &AlarmCommand::onFinished);
    }
}

void AlarmCommand::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (status != QProcess::NormalExit)
        emit problem(tr("the alarm command %1 crashed").arg(program_));
    else if (exitCode != 0)
        emit problem(tr("the alarm command %1 ended with exit code %2").arg(program_).arg(exitCode));
    running_->deleteLater();
    running_ = nullptr;
    startNext();
}

bool AlarmCommand::finish(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // Each finished command starts the next one from within waitForFinished.
    while (running_) {
        if (!running_->waitForFinished(int(deadline.remainingTime())))
            return false;
    }
    return waiting_.empty();
}
