// amperotool: the command-line companion of Ampero.

#include "Commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

// Subcommands register here, in the order `amperotool --help` lists them.
static const ToolCommand commands[] = {
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
    QCoreApplication app(argc, argv);
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
