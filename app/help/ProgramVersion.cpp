#include "ProgramVersion.h"

#include "AmperoVersion.h"

#include <QCoreApplication>

ProgramVersion CurrentVersion()
{
    return {AmperoBuild::VersionMajor, AmperoBuild::VersionMinor, AmperoBuild::VersionRevision};
}

QString ApplicationTitle()
{
    return QString::fromLatin1(AmperoBuild::Title);
}

QString VersionText(const ProgramVersion &version)
{
    return QCoreApplication::translate("ProgramVersion", "Version %1.%2.%3")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.revision);
}
