#pragma once

// The settings file as written on disk: "section/key" to the raw text after '='.

#include <QFile>
#include <QMap>
#include <QString>
#include <QTextStream>

inline QMap<QString, QString> ReadIniFile(const QString &path)
{
    QMap<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(section + QLatin1Char('/') + line.left(equals), line.mid(equals + 1));
    }
    return values;
}
