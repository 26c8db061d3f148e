#pragma once

// The subcommands of amperotool. Each takes the arguments after its name and
// returns the process exit code.

#include <QStringList>

struct ToolCommand {
    const char *name;
    const char *usage;   // one line: "decode [FILE|-]"
    const char *summary; // what it is for
    int (*run)(const QStringList &arguments);
};

// Exit code for a command line the command does not understand.
constexpr int UsageExitCode = 2;
