// amperotool: the command-line companion of Ampero.

#include "Commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

// Subcommands register here, in the order `amperotool --help` lists them.
static const ToolCommand commands[] = {
    {"dump", "dump FILE", "print the samples of a recording file (*.KRD) as CSV", runDump},
    {"info", "info FILE", "print the counts, statistics and time span of a recording file", runInfo},
    {"decode", "decode [FILE|-]", "decode captured serial bytes into one CSV line per frame", runDecode},
    {"simulate", "simulate [OPTIONS]", "a simulated meter on a pseudo-terminal (--help for options)", runSimulate},
    {"record", "record --port DEVICE --out FILE [OPTIONS]", "record the meter into a recording file, without a window",
     runRecord},
    {"print", "print FILE --what WHAT --out OUT.pdf", "print a recording to a PDF file (--help for options)",
     runPrint},
    {nullptr, nullptr, nullptr, nullptr},
};

static void printUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const ToolCommand &command : commands) {
        if (command.name)
            std::fprintf(out, "  %-44s %s\n", command.usage, command.summary);
    }
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
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printUsage(stdout);
        return 0;
    }
    for (const ToolCommand &command : commands) {
        if (command.name && name == QLatin1String(command.name))
            return command.run(arguments);
    }
    std::fprintf(stderr, "amperotool: unknown command '%s'\n\n", qPrintable(name));
    printUsage(stderr);
    return UsageExitCode;
}
