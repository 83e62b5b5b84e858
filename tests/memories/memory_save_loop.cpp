#include "memory_store.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

// Saves two sets of memories by turns, the first one first, into the file named on the command
// line, for ever; no file may grow beyond the number of bytes named after it. The write that
// reaches that size is stopped right there: the saver says "cut" and waits to be killed.
int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const rlim_t cut = std::strtoull(argv[2], nullptr, 10);
    const rlimit limit{cut, cut};
    std::signal(SIGXFSZ, [](int) {
        constexpr char said[] = "cut\n";
        if (write(STDOUT_FILENO, said, sizeof said - 1) > 0)
            for (;;)
                pause();
        _exit(3);
    });
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 3;

    const TMemoryFile file(QString::fromLocal8Bit(argv[1]));
    TMemoryBanks first = TMemoryFile::Defaults();
    TMemoryBanks second = first;
    for (int bank = 1; bank <= BankCount; ++bank)
        for (int memory = 1; memory <= MemoriesPerBank; ++memory)
            second.memories(bank, memory).freq = QString::number(7'000'000 + bank * 100'000 + memory * 1'000);
    for (bool even = true;; even = !even)
        file.Save(even ? first : second);
}
