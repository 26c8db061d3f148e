// Not run by CTest on its own: install_test.sh and the package check run it
// against an installed tree. The Help window of a program installed in
// PROGRAM_FOLDER shows the manual MANUAL, byte for byte.
// Usage: help_installed_manual PROGRAM_FOLDER MANUAL

#include "HelpFrm.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Usage: help_installed_manual PROGRAM_FOLDER MANUAL\n");
        return 2;
    }
    QFile manual(arguments[2]);
    if (!manual.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(arguments[2]), qPrintable(manual.errorString()));
        return 1;
    }
    const QString expected = QString::fromUtf8(manual.readAll());

    HelpFrm window(arguments[1]);
    QString shown;
    QTimer::singleShot(0, &window, [&] {
        shown = window.findChild<QPlainTextEdit *>(QStringLiteral("HelpText"))->toPlainText();
        window.reject();
    });
    window.exec();
    if (shown != expected) {
        std::fprintf(stderr, "Help of a program in %s shows %d characters beginning \"%s\", not %s\n",
                     qPrintable(arguments[1]), int(shown.size()), qPrintable(shown.left(40)), qPrintable(arguments[2]));
        return 1;
    }
    std::printf("Help of a program in %s shows %s\n", qPrintable(arguments[1]), qPrintable(arguments[2]));
    return 0;
}
