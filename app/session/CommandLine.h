#pragma once

// The program's command line: ampero [--help | --version] [FILE].

#include <QString>
#include <QStringList>

struct ProgramCommandLine {
    enum class Action {
        Run,    // start the window, with `file` opened when it is not empty
        Answer, // print `text` on standard output and end with exit code 0
        Fail    // print `text` on standard error and end with UsageExitCode
    };
    Action action = Action::Run;
    QString file; // absolute path of the recording to open
    QString text;
    // Fail: the options it does not know. Before QApplication has taken out
    // Qt's own options (-platform, -style, ...) these may be some of them.
    QStringList unknownOptions;
};

constexpr int ProgramUsageExitCode = 2;

// Reads the arguments, the program name first (QCoreApplication::arguments():
// the help text names the program as it was started). Relative file names
// are taken from the current folder.
ProgramCommandLine ParseProgramCommandLine(const QStringList &arguments);
