#pragma once

#include <QString>

// A job on the station lists or the memories, done without a window (for scripts): one line
// printed, a non-zero exit status on failure.
struct TListCommand
{
    enum class TKind { ImportStations, ExportStations, ExportMemories, ImportMemories };
    TKind kind = TKind::ImportStations;
    QString path;
    bool yes = false; // --yes: replace the memories after showing what changes
};

// Runs a job on the station lists or the memories without a window, for scripts: the memory file
// is the program's in `programDirectory`, the imported lists are those in `stationsFolder`.
// Returns the exit status; `output` gets the line of what was done, `error` why it failed.
int RunListCommand(const TListCommand &command, const QString &programDirectory, const QString &stationsFolder,
                   QString &output, QString &error);
