#pragma once

#include "command_line.h"

#include <QString>

// Runs a job on the station lists or the memories without a window, for scripts: the memory file
// is the program's in `programDirectory`, the imported lists are those in `stationsFolder`.
// Returns the exit status; `output` gets the line of what was done, `error` why it failed.
int RunListCommand(const TListCommand &command, const QString &programDirectory, const QString &stationsFolder,
                   QString &output, QString &error);
