#pragma once

#include "d2xx.h"

#include <QTimer>

#include <cstdint>

// The two bulk pipes of an FTDI chip as libftdi offers them (ftdi_write_data, ftdi_read_data):
// each returns the number of bytes moved, or a negative libftdi error.
class UsbPipe
{
public:
    virtual ~UsbPipe() = default;
    virtual int WriteData(const std::uint8_t *bytes, int size) = 0;
    virtual int ReadData(std::uint8_t *bytes, int size) = 0;
};

// Writes to a chip in synchronous bit-bang mode. There the chip samples the pins for every byte it
// clocks out and queues the samples for the host (SampleQueue of them); once that queue is full it
// stops clocking, and the bytes still to go wait in its receive buffer (ReceiveBuffer). A frequency
// change's four words (208 bytes) fit that buffer whole, so they go out back to back, and the
// samples they produce are read back once: when the event loop next turns, right after the change,
// or before a write that would leave more unread than the receive buffer holds. That is one wait
// for the read-back per change, not one per word. The samples themselves are of no use to the
// program and are dropped.
class SyncBitbangWriter
{
public:
    explicit SyncBitbangWriter(UsbPipe &pipe);

    // A read-back that failed after the write before is this write's failure; it writes nothing.
    FT_STATUS Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written);
    // Reads back all that is owed, so that every byte written has been clocked out.
    FT_STATUS Drain();
    // Forgets what is still owed, as after the chip was reset or closed.
    void Reset();

    // FT232R buffers (datasheet: 256 bytes from the host, 128 toward it).
    static constexpr std::uint32_t ReceiveBuffer = 256;
    static constexpr std::uint32_t SampleQueue = 128;
    // Reads that return nothing before the samples count as lost: with the chip's latency timer at
    // 1 ms an empty read takes about a millisecond, so this is a tenth of a second.
    static constexpr int MaxEmptyReads = 100;

private:
    UsbPipe &pipe;
    std::uint32_t pendingSamples = 0;
    FT_STATUS failedReadBack = FT_OK;
    QTimer readBack;
};
