#include "ReadmeFile.h"

#include <QFile>

QString ReadmePath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Readme.txt");
}

QStringList ReadmePaths(const QString &programFolder)
{
    return {ReadmePath(programFolder), ReadmePath(programFolder + QStringLiteral("/" AMPERO_MANUAL_FROM_PROGRAM))};
}

std::optional<QString> ReadReadme(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return QString::fromUtf8(bytes);
}
