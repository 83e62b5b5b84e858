#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>
#include <string_view>
#include <vector>

// The rigctld commands the server knows.
enum class TRigctlVerb {
    GetFreq,
    SetFreq,
    GetMode,
    SetMode,
    GetVfo,
    SetVfo,
    GetPtt,
    SetPtt,
    GetSplitVfo,
    SetSplitVfo,
    CheckVfo,
    DumpState,
    DumpCaps,
    GetPowerStat,
    GetLockMode,
    SetVfoOption,
    GetInfo,
    SatelliteRise,
    SatelliteSet,
    Quit,
};

// How a command is spelled and what follows it on the line.
struct TRigctlVerbSpelling
{
    TRigctlVerb verb;
    char letter;                // the one-character form; 0 when there is none
    std::string_view longName;  // after a backslash, and the label of extended replies; empty for quit
    bool bareWord;              // spelled without a backslash (gpredict's AOS and LOS)
    int argumentCount;
    bool takesVfoWord;          // a VFO name may follow the command before its arguments
};

const TRigctlVerbSpelling &SpellingOf(TRigctlVerb verb);

// One command as a client wrote it.
struct TRigctlCommand
{
    // Empty for a command the server does not know.
    std::optional<TRigctlVerb> verb;
    // The extended-reply form: 0 for a plain reply, otherwise what ends each field ('\n' for '+').
    char separator = 0;
    // As many as the command takes, or fewer when the line ended first.
    QList<QByteArray> arguments;

    bool operator==(const TRigctlCommand &other) const = default;
};

// Reads the commands of one line (its line end taken off). Commands follow one another with or
// without blanks between them ("fmv", "+f +m +v", "F 7074000 f"); a VFO name after a command that
// takes one is skipped. An unknown command ends the line: what follows it cannot be told apart
// from its arguments.
std::vector<TRigctlCommand> ReadRigctlLine(QByteArrayView line);

// The VFO names hamlib writes ("VFOA", "currVFO", "Main" ...).
bool IsVfoName(QByteArrayView word);
