#include "sync_bitbang_writer.h"

#include <algorithm>
#include <array>
#include <utility>

SyncBitbangWriter::SyncBitbangWriter(UsbPipe &pipe)
    : pipe(pipe)
{
    endOfChange.setSingleShot(true);
    endOfChange.setInterval(0);
    QObject::connect(&endOfChange, &QTimer::timeout, [this] {
        changeFailed = false;
        if (const FT_STATUS status = Drain(); status != FT_OK)
            failedReadBack = status;
    });
}

FT_STATUS SyncBitbangWriter::Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written)
{
    *written = 0;
    EndOfChangeSoon();
    if (changeFailed)
        return FT_IO_ERROR;
    FT_STATUS readBack = std::exchange(failedReadBack, FT_OK);
    if (pendingSamples + length > capacity)
        if (const FT_STATUS status = Drain(); status != FT_OK)
            readBack = status;
    int sent = Send(bytes, length);
    if (sent < 0 && pendingSamples > 0 && length <= UsbPacket) {
        // The chip took none of it and waits to be read: it holds less than assumed.
        capacity = std::max(pendingSamples, length);
        if (Drain() == FT_OK)
            sent = Send(bytes, length);
    }
    *written = sent > 0 ? static_cast<std::uint32_t>(sent) : 0;
    if (sent < 0 || *written != length) {
        changeFailed = true;
        return FT_IO_ERROR;
    }
    return readBack;
}

int SyncBitbangWriter::Send(const std::uint8_t *bytes, std::uint32_t length)
{
    const int sent = pipe.WriteData(bytes, static_cast<int>(length));
    if (sent > 0)
        pendingSamples += static_cast<std::uint32_t>(sent);
    return sent;
}

void SyncBitbangWriter::EndOfChangeSoon()
{
    if (!endOfChange.isActive())
        endOfChange.start();
}

FT_STATUS SyncBitbangWriter::Drain()
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

void SyncBitbangWriter::Reset()
{
    endOfChange.stop();
    pendingSamples = 0;
    failedReadBack = FT_OK;
    changeFailed = false;
}
