// amperotool: the command-line companion of Ampero.

#include "Commands.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>

// Subcommands register here, in the order `amperotool --help` lists them.
static const ToolCommand commands[] = {
    {"dump", "dump FILE", "print the samples of a recording file (*.KRD) as CSV", runDump, printDumpUsage},
    {"info", "info FILE", "print the counts, statistics and time span of a recording file", runInfo, printInfoUsage},
    {"decode", "decode [FILE|-]", "decode captured serial bytes into one CSV line per frame", runDecode,
     printDecodeUsage},
    {"simulate", "simulate [OPTIONS]", "a simulated meter on a pseudo-terminal", runSimulate, printSimulateUsage},
    {"record", "record --port DEVICE --out FILE [OPTIONS]", "record the meter into a recording file, without a window",
     runRecord, printRecordUsage},
    {"print", "print FILE --what WHAT --out OUT.pdf", "print a recording to a PDF file", runPrint, printPrintUsage},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

static void printUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool COMMAND [ARGUMENTS]\n"
                      "       amperotool help COMMAND | COMMAND --help\n"
                      "       amperotool --help | --version\n\nCommands:\n");
    for (const ToolCommand &command : commands) {
        if (command.name)
            std::fprintf(out, "  %-44s %s\n", command.usage, command.summary);
    }
}

static const ToolCommand *findCommand(const QString &name)
{
    for (const ToolCommand &command : commands) {
        if (command.name && name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

static bool isHelpOption(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

int ReportUsageError(const char *command, const QString &message, void (*printCommandUsage)(std::FILE *out))
{
    std::fprintf(stderr, "amperotool %s: %s\n\n", command, qPrintable(message));
    printCommandUsage(stderr);
    return UsageExitCode;
}

static int unknownCommand(const QString &name)
{
    std::fprintf(stderr, "amperotool: unknown command '%s'\n\n", qPrintable(name));
    printUsage(stderr);
    return UsageExitCode;
}

int main(int argc, char **argv)
{
    // Printing draws with fonts, which takes a GUI application.
    const bool printing = argc > 1 && std::strcmp(argv[1], "print") == 0;
    const std::unique_ptr<QCoreApplication> app =
        printing ? CreatePrintApplication(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("amperotool"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printUsage(stderr);
        return UsageExitCode;
    }
    const QString name = arguments.takeFirst();
    if (isHelpOption(name)) {
        printUsage(stdout);
        return 0;
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        std::printf("amperotool %s\n", AMPERO_VERSION);
        return 0;
    }
    if (name == QLatin1String("help")) {
        if (arguments.isEmpty()) {
            printUsage(stdout);
            return 0;
        }
        const ToolCommand *command = findCommand(arguments.first());
        if (!command)
            return unknownCommand(arguments.first());
        command->help(stdout);
        return 0;
    }
    const ToolCommand *command = findCommand(name);
    if (!command)
        return unknownCommand(name);
    // --help anywhere among the arguments explains the command instead of running it.
    if (std::any_of(arguments.cbegin(), arguments.cend(), isHelpOption)) {
        command->help(stdout);
        return 0;
    }
    return command->run(arguments);
}
