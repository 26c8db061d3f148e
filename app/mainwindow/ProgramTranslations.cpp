#include "ProgramTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

std::vector<std::unique_ptr<QTranslator>> InstallTranslations(const QStringList &uiLanguages)
{
    std::vector<std::unique_ptr<QTranslator>> installed;
    for (QString language : uiLanguages) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") || language.startsWith(QLatin1String("en")))
            break;
        // "de_DE" finds ampero_de_DE.qm, else ampero_de.qm.
        auto program = std::make_unique<QTranslator>();
        if (!program->load(QStringLiteral("ampero_") + language, QStringLiteral(":/i18n")))
            continue;
        QCoreApplication::installTranslator(program.get());
        installed.push_back(std::move(program));
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            installed.push_back(std::move(qt));
        }
        break;
    }
    return installed;
}
