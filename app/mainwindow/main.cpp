// Ampero: the desktop companion of the clamp-on power meter.

#include "AmperoIcon.h"
#include "CommandLine.h"
#include "ProgramTranslations.h"
#include "ProgramWindow.h"
#include "RecoveryJournal.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <optional>

namespace {

void SetProgramNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Ampero"));
    QCoreApplication::setApplicationVersion(QStringLiteral(AMPERO_VERSION));
}

// Prints what the command line asks for; the exit code, or nothing when the
// window is to start.
std::optional<int> AnswerCommandLine(const ProgramCommandLine &commandLine)
{
    switch (commandLine.action) {
    case ProgramCommandLine::Action::Run:
        return std::nullopt;
    case ProgramCommandLine::Action::Answer:
        std::fputs(qPrintable(commandLine.text), stdout);
        return 0;
    case ProgramCommandLine::Action::Fail:
        std::fputs(qPrintable(commandLine.text), stderr);
        return ProgramUsageExitCode;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    {
        // --help, --version and a command line that makes no sense are answered
        // without a display. Unknown options are left for a second reading
        // below, once QApplication has taken out Qt's own ones (-platform,
        // -style, ...), which this first reading does not know.
        QCoreApplication early(argc, argv);
        SetProgramNames();
        const ProgramCommandLine commandLine = ParseProgramCommandLine(QCoreApplication::arguments());
        if (commandLine.action != ProgramCommandLine::Action::Run && commandLine.unknownOptions.isEmpty())
            return *AnswerCommandLine(commandLine);
    }
    QApplication app(argc, argv);
    SetProgramNames();
    const ProgramCommandLine commandLine = ParseProgramCommandLine(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = AnswerCommandLine(commandLine))
        return *exitCode;
    QApplication::setWindowIcon(AmperoIcon());
    const auto translators = InstallTranslations(QLocale::system().uiLanguages());
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(AMPERO_APP_ID));

    ProgramWindow program;
    program.start(RecoveryJournal::DefaultPath());
    if (!commandLine.file.isEmpty())
        program.window.session().OpenFile(commandLine.file);
    return app.exec();
}
