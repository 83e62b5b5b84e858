#include "sync_bitbang_writer.h"

#include <algorithm>
#include <array>
#include <utility>

SyncBitbangWriter::SyncBitbangWriter(UsbPipe &pipe)
    : pipe(pipe)
{
    readBack.setSingleShot(true);
    readBack.setInterval(0);
    QObject::connect(&readBack, &QTimer::timeout, [this] { failedReadBack = Drain(); });
}

FT_STATUS SyncBitbangWriter::Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written)
{
    *written = 0;
    if (failedReadBack != FT_OK)
        return std::exchange(failedReadBack, FT_OK);
    if (pendingSamples + length > ReceiveBuffer)
        if (const FT_STATUS status = Drain(); status != FT_OK)
            return status;
    const int sent = pipe.WriteData(bytes, static_cast<int>(length));
    if (sent < 0)
        return FT_IO_ERROR;
    *written = static_cast<std::uint32_t>(sent);
    pendingSamples += *written;
    // Beyond a full sample queue the chip waits for the host to read before it clocks the rest.
    if (pendingSamples > SampleQueue && !readBack.isActive())
        readBack.start();
    return *written == length ? FT_OK : FT_IO_ERROR;
}

FT_STATUS SyncBitbangWriter::Drain()
{
    readBack.stop();
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

void SyncBitbangWriter::Reset()
{
    readBack.stop();
    pendingSamples = 0;
    failedReadBack = FT_OK;
}
