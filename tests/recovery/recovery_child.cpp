// The program as its main() starts it, for the tests that kill it or stop it
// while it records. XDG_CONFIG_HOME and XDG_DATA_HOME point into the test's
// folder, so the settings and the journal are the real ones of that "user".
//
//   recovery_child record [PORT]  answers No to recovery questions, presses
//                                 START on COM<PORT> (else the stored port) and
//                                 reports every appended sample on standard
//                                 output until it is killed or stopped
//   recovery_child recover [yes|no]...
//                                 answers the recovery questions in this order
//                                 (default: one yes), reports what the window
//                                 then holds and ends without closing the
//                                 window, as a crash would
//
// Lines: "Q <question asked>", "M <Modified 0/1>", "T <caption>",
// "F <RecordFileName>", "S <index> <the 32 bytes of the record in hex>".

#include "MainFrm.h"
#include "RecoveryJournal.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void printRecord(std::int32_t index, const Sample &record)
{
    const SampleRecordBytes bytes = record.toBytes();
    const QByteArray hex = QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex();
    std::printf("S %d %s\n", int(index), hex.constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool record = (argc == 2 || argc == 3) && std::strcmp(argv[1], "record") == 0;
    const bool recover = argc >= 2 && std::strcmp(argv[1], "recover") == 0;
    if (!record && !recover) {
        std::fprintf(stderr, "usage: recovery_child record [PORT] | recover [yes|no]...\n");
        return 2;
    }

    SettingsStore settings;
    ProgramState state;
    ScriptedPrompts prompts;
    if (recover && argc == 2)
        prompts.yesNoAnswers = {true};
    for (int i = 2; recover && i < argc; ++i)
        prompts.yesNoAnswers.push_back(std::strcmp(argv[i], "yes") == 0);
    MainFrm window(state, settings, prompts);
    window.session().StartUp(RecoveryJournal::DefaultPath());
    if (record && argc == 3)
        window.SetPortInUse(std::int16_t(std::atoi(argv[2])));
    const std::int16_t portNumber = state.portNumber;
    window.show();

    for (const QString &question : prompts.asked)
        std::printf("Q %s\n", qPrintable(question));
    if (recover) {
        std::printf("M %d\nT %s\nF %s\n", int(state.acquisition.Modified), qPrintable(window.windowTitle()),
                    qPrintable(state.RecordFileName));
        for (std::int32_t i = 0; i <= state.store.SampleCount; ++i)
            printRecord(i, state.store.Samples[std::size_t(i)]);
        return 0;
    }

    window.Start->click();
    if (window.acquisition().state() != LinkState::Running) {
        std::fprintf(stderr, "recovery_child: START failed on COM%d\n", int(portNumber));
        return 1;
    }
    std::int32_t reported = 0;
    auto reportNewSamples = [&] {
        for (; reported < state.store.SampleCount; ++reported)
            printRecord(reported + 1, state.store.sample(reported + 1));
        std::fflush(stdout);
    };
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, reportNewSamples);
    report.start(5);
    const int exitCode = app.exec();
    // Stopped: the samples not reported yet.
    reportNewSamples();
    return exitCode;
}
