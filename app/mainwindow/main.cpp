// Ampero: the desktop companion of the clamp-on power meter.

#include "AmperoIcon.h"
#include "MainFrm.h"
#include "MainFrmPrompts.h"
#include "ProgramTranslations.h"
#include "RecoveryJournal.h"
#include "SettingsStore.h"
#include "StartupSettings.h"
#include "StopSignals.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ampero"));
    QApplication::setApplicationVersion(QStringLiteral(AMPERO_VERSION));
    QApplication::setWindowIcon(AmperoIcon());
    const auto translators = InstallTranslations(QLocale::system().uiLanguages());
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("ampero"));

    SettingsStore settings;
    const std::int16_t portNumber = LoadStoredPortNumber(settings);

    ProgramState state;
    DialogPrompts prompts;
    MainFrm window(state, settings, prompts);
    prompts.setParent(&window);
    window.UseRecoveryJournal(RecoveryJournal::DefaultPath());
    window.ProbePorts();
    window.SetPortInUse(portNumber);
    window.OfferRecovery();
    // Only now: a kill during the recovery question leaves the journals as they were.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &window, &MainFrm::CloseWithoutPrompts);
    window.show();
    return app.exec();
}
