#pragma once

// amperotool as built with the tests, and `amperotool record` running as a
// user runs it, with what it writes to standard error collected.

#include "Sample.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

// The amperotool built with these tests.
QString ToolPath();

class RecordingTool {
public:
    // Starts `amperotool record ARGUMENTS` and waits until it says that it records.
    bool startRecording(const QStringList &arguments);
    // Everything it wrote to standard error so far.
    QString stderrText();
    void sendSignal(int number);
    // Waits until it has ended.
    bool finish(int timeoutMs);
    // SIGTERM, then waits until it has ended normally.
    bool stop(int timeoutMs = 20000);

    QProcess process;
    QString errors;
};

// The samples of a whole recording file, record 0 first; a test fails unless
// it reads without error and ends on a whole record.
std::vector<Sample> ReadRecording(const QString &file);
