#pragma once

// Command-line options kept in a file, for `amperotool record --config FILE`
// under systemd: one option a line, "name = value" for `--name value` and a
// bare "name" for `--name`; blank lines and lines starting with # or ; are
// ignored. A value is taken as it stands after the "=" (trimmed), spaces and
// quotes included, so a command for --on-alarm needs no second quoting.

#include <QString>
#include <QStringList>

struct OptionsFileResult {
    bool ok = false;
    QStringList arguments; // "--name", "value", ... in the order of the file
    QString error;         // what is wrong, naming the file and the line
};

OptionsFileResult ReadOptionsFile(const QString &path);
