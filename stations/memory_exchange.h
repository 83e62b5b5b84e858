#pragma once

#include "memory_store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The 120 memories and their bank names out of the program and back.

// RFC 4180 CSV with the header bank,bank_name,memory,tag,frequency_hz: one row per memory, bank by
// bank; the frequency as the memory holds it (hertz, as typed).
QByteArray MemoriesCsv(const TMemoryBanks &banks);

// gqrx's bookmarks.csv: a tag per bank name, then one bookmark per memory that holds a frequency
// gqrx can read, filed under its bank's name. gqrx cannot quote: a ';' or a line break in a
// name becomes a space.
QByteArray MemoriesGqrx(const TMemoryBanks &banks);

// Memories read back from MemoriesCsv's format: every one of the 120 rows and 8 names must be
// there once, or `error` says, in one line, what is wrong and nothing is to be written.
struct TMemoriesRead
{
    TMemoryBanks banks;
    QString error;
};
TMemoriesRead MemoriesFromCsv(const QByteArray &csv);

// What replacing `from` by `to` changes, one line per bank name or memory:
// "bank 2 name: Ham -> Broadcast", "bank 1 memory 3: 7074000 FT8 -> 7100000 RTTY".
QStringList MemoryChanges(const TMemoryBanks &from, const TMemoryBanks &to);

// A memories' CSV file set against the memory file, before anything is written: what writing it
// would change, or in `error`, in one line naming the file, why it cannot be read.
struct TMemoryImport
{
    TMemoryBanks banks;
    QStringList changes;
    bool damaged = false; // the memory file cannot be read as one: writing mends it
    QString error;
};
TMemoryImport ImportedMemories(const QString &csvPath, const TMemoryFile &memories);
