#include "memory_store.h"

#include <cstdint>
#include <cstdlib>

// Any bytes as a memory file: loaded, saved, loaded again, the second load equals the first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TMemoryBanks first = BanksFromText(bytes);
    const QByteArray saved = TextWithBanks(bytes, first);
    if (BanksFromText(saved) != first)
        std::abort();
    // Saving what was saved changes nothing more.
    if (TextWithBanks(saved, first) != saved)
        std::abort();
    return 0;
}
