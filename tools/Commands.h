#pragma once

// The subcommands of amperotool. Each takes the arguments after its name and
// returns the process exit code.

#include <QStringList>

#include <cstdio>
#include <memory>

class QCoreApplication;

struct ToolCommand {
    const char *name;
    const char *usage;   // one line: "decode [FILE|-]"
    const char *summary; // what it is for
    int (*run)(const QStringList &arguments);
    // The command's own help: usage, what it does, its options. The dispatcher
    // prints it for `COMMAND --help` and `help COMMAND`, so the commands do
    // not look for --help themselves.
    void (*help)(std::FILE *out);
};

// Exit code for a command line the command does not understand.
constexpr int UsageExitCode = 2;

// Says what is wrong with a command's arguments, then its usage, on stderr;
// returns UsageExitCode.
int ReportUsageError(const char *command, const QString &message, void (*printCommandUsage)(std::FILE *out));

// Meter frames: a captured serial log as CSV, and a simulated meter on a
// pseudo-terminal (Decode.cpp, Simulate.cpp).
int runDecode(const QStringList &arguments);
void printDecodeUsage(std::FILE *out);
int runSimulate(const QStringList &arguments);
void printSimulateUsage(std::FILE *out);
// Headless logging from the meter into a recording file (Record.cpp).
int runRecord(const QStringList &arguments);
void printRecordUsage(std::FILE *out);

// Recording files (Dump.cpp, Info.cpp).
int runDump(const QStringList &arguments);
void printDumpUsage(std::FILE *out);
int runInfo(const QStringList &arguments);
void printInfoUsage(std::FILE *out);

// Printouts to PDF (Print.cpp). Drawing pages needs a GUI application, which
// CreatePrintApplication makes without needing a display.
int runPrint(const QStringList &arguments);
void printPrintUsage(std::FILE *out);
std::unique_ptr<QCoreApplication> CreatePrintApplication(int &argc, char **argv);
