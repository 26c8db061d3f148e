// Not a test: shows the Options dialog over two trend charts with a first
// run's settings, for a look at it (under Xvfb, with a screenshot tool). The
// dialog closes by itself after the given number of seconds (default 3).

#include "OptionFrm.h"
#include "StartupSettings.h"
#include "TrendWidgetChart.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3;

    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("RQ4417.ini")));
    ProgramState state;
    Sweepgraph::Trend widget1;
    Sweepgraph::Trend widget2;
    TrendWidgetChart chart1(widget1);
    TrendWidgetChart chart2(widget2);
    LoadStoredSettings(settings, state, chart1, chart2);

    DialogOptionPrompts prompts;
    OptionFrm dialog(state, settings, chart1, chart2, prompts);
    dialog.move(40, 40);
    QTimer::singleShot(seconds * 1000, &dialog, &QDialog::reject);
    dialog.exec();
    return 0;
}
