#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

ProgramCommandLine ParseProgramCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "The desktop companion of the clamp-on power meter: the meter's display, trend charts\n"
                       "and recordings (*.KRD)."));
    // Not addHelpOption(): its --help-all text is only printed by process(),
    // which ends the program itself.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Displays help on commandline options."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QCoreApplication::translate("CommandLine", "Displays version information."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("CommandLine", "A recording to open at start, as File > Open does."),
        QStringLiteral("[FILE]"));

    ProgramCommandLine result;
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("ampero"))).fileName();
    if (!parser.parse(arguments)) {
        result.action = ProgramCommandLine::Action::Fail;
        result.text =
            QCoreApplication::translate("CommandLine", "%1: %2\nTry '%1 --help'.\n").arg(program, parser.errorText());
        result.unknownOptions = parser.unknownOptionNames();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = ProgramCommandLine::Action::Answer;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = ProgramCommandLine::Action::Answer;
        result.text = QStringLiteral("%1 %2\n").arg(program, QCoreApplication::applicationVersion());
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.action = ProgramCommandLine::Action::Fail;
        result.text =
            QCoreApplication::translate("CommandLine", "%1: one recording at a time, not %2\nTry '%1 --help'.\n")
                .arg(program)
                .arg(files.size());
        return result;
    }
    if (!files.isEmpty())
        result.file = QFileInfo(files.first()).absoluteFilePath();
    return result;
}
