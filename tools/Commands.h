#pragma once

// The subcommands of amperotool. Each takes the arguments after its name and
// returns the process exit code.

#include <QStringList>

#include <memory>

class QCoreApplication;

struct ToolCommand {
    const char *name;
    const char *usage;   // one line: "decode [FILE|-]"
    const char *summary; // what it is for
    int (*run)(const QStringList &arguments);
};

// Exit code for a command line the command does not understand.
constexpr int UsageExitCode = 2;

// Meter frames: a captured serial log as CSV, and a simulated meter on a
// pseudo-terminal (Decode.cpp, Simulate.cpp).
int runDecode(const QStringList &arguments);
int runSimulate(const QStringList &arguments);
// Headless logging from the meter into a recording file (Record.cpp).
int runRecord(const QStringList &arguments);

// Recording files (Dump.cpp, Info.cpp).
int runDump(const QStringList &arguments);
int runInfo(const QStringList &arguments);

// Printouts to PDF (Print.cpp). Drawing pages needs a GUI application, which
// CreatePrintApplication makes without needing a display.
int runPrint(const QStringList &arguments);
std::unique_ptr<QCoreApplication> CreatePrintApplication(int &argc, char **argv);
