#include "sync_bitbang_writer.h"

#include <algorithm>
#include <array>

SyncBitbangWriter::SyncBitbangWriter(UsbPipe &pipe)
    : pipe(pipe)
{
}

FT_STATUS SyncBitbangWriter::Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written)
{
    *written = 0;
    if (const FT_STATUS status = DrainSamples(); status != FT_OK)
        return status;
    const int sent = pipe.WriteData(bytes, static_cast<int>(length));
    if (sent < 0)
        return FT_IO_ERROR;
    *written = static_cast<std::uint32_t>(sent);
    pendingSamples = *written;
    return *written == length ? FT_OK : FT_IO_ERROR;
}

FT_STATUS SyncBitbangWriter::DrainSamples()
{
    std::array<std::uint8_t, 512> samples;
    int emptyReads = 0;
    while (pendingSamples > 0) {
        const int wanted = static_cast<int>(std::min<std::uint32_t>(pendingSamples, samples.size()));
        const int got = pipe.ReadData(samples.data(), wanted);
        if (got < 0 || (got == 0 && ++emptyReads > MaxEmptyReads)) {
            // Whatever is still owed will not come; start afresh with the next write.
            pendingSamples = 0;
            return FT_IO_ERROR;
        }
        if (got > 0) {
            emptyReads = 0;
            pendingSamples -= std::min(static_cast<std::uint32_t>(got), pendingSamples);
        }
    }
    return FT_OK;
}
