#pragma once

// Loading a recording file for the subcommands that read one.

#include "SampleStore.h"

#include <QString>

// Reads FILE into the store; false (after a message on standard error that
// names the file and the reason) when it cannot be read. A trailing partial
// record is ignored with a warning.
bool LoadRecordingForTool(const QString &path, SampleStore &store);
