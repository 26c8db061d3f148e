#include "OptionsFile.h"

#include <QFile>
#include <QRegularExpression>

OptionsFileResult ReadOptionsFile(const QString &path)
{
    OptionsFileResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    static const QRegularExpression name(QStringLiteral("^[a-z][a-z0-9-]*$"));
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = (equals < 0 ? line : line.left(equals)).trimmed();
        if (!name.match(key).hasMatch()) {
            result.error = QStringLiteral("%1, line %2: '%3' is not an option name").arg(path).arg(lineNumber).arg(key);
            return result;
        }
        result.arguments << QStringLiteral("--") + key;
        if (equals >= 0)
            result.arguments << line.mid(equals + 1).trimmed();
    }
    result.ok = true;
    return result;
}
