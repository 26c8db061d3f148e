#pragma once

// The program's title and version numbers, and the texts the About box makes
// of them.

#include <QString>

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this build was made from.
ProgramVersion CurrentVersion();

// The application title, "Ampero".
QString ApplicationTitle();

// "Version " and the three numbers as plain decimals joined by dots: 1.0.12.
QString VersionText(const ProgramVersion &version);
