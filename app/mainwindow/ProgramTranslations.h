#pragma once

// The program in the user's language: its own texts and Qt's (the buttons of
// the standard dialogs, the file dialog, the print dialog).

#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

// Installs the translators of the first of the user's languages (most wanted
// first, as QLocale::uiLanguages lists them) that the program is translated
// into, Qt's own for that language too where it exists. English, the
// language the texts are written in, needs none: a list that reaches English
// before a translated language stays English. The translators work until
// they are destroyed.
std::vector<std::unique_ptr<QTranslator>> InstallTranslations(const QStringList &uiLanguages);
