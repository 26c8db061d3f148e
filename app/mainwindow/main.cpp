// Ampero: the desktop companion of the clamp-on power meter.

#include "MainFrm.h"
#include "MainFrmPrompts.h"
#include "SettingsStore.h"
#include "StartupSettings.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ampero"));
    QApplication::setApplicationVersion(QStringLiteral(AMPERO_VERSION));

    SettingsStore settings;
    const std::int16_t portNumber = LoadStoredPortNumber(settings);

    ProgramState state;
    DialogPrompts prompts;
    MainFrm window(state, settings, prompts);
    prompts.setParent(&window);
    window.ProbePorts();
    window.SetPortInUse(portNumber);
    window.show();
    return app.exec();
}
