#pragma once

// The user's manual that is installed beside the program.

#include <QString>
#include <QStringList>

#include <optional>

// Where the Help window looks for the manual: the program's folder followed
// directly by "/Readme.txt". Nothing is trimmed, so a folder that already ends
// with a separator (the file-system root) gives two of them, which the system
// reads as one.
QString ReadmePath(const QString &programFolder);

// Every place the Help window tries, in order: beside the program (the build
// tree), then the installed data folder, which for a program in <prefix>/bin
// is <prefix>/share/ampero/Readme.txt. The first one that reads is shown.
QStringList ReadmePaths(const QString &programFolder);

// The manual's text, or nothing when the file cannot be opened or read
// (missing, no access, a directory). The file is UTF-8 plain text.
std::optional<QString> ReadReadme(const QString &path);
