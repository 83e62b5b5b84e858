#include "memory_store.h"

#include <cstdio>

// Saves two sets of memories by turns into the file named on the command line, for ever, and
// says when each save begins and ends. The crash test kills it in the middle.
int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const TMemoryFile file(QString::fromLocal8Bit(argv[1]));
    TMemoryBanks first = TMemoryFile::Defaults();
    TMemoryBanks second = first;
    for (int bank = 1; bank <= BankCount; ++bank)
        for (int memory = 1; memory <= MemoriesPerBank; ++memory)
            second.memories(bank, memory).freq = QString::number(7'000'000 + bank * 100'000 + memory * 1'000);
    for (bool even = true;; even = !even) {
        std::puts("saving");
        std::fflush(stdout);
        file.Save(even ? first : second);
        std::puts("saved");
        std::fflush(stdout);
    }
}
