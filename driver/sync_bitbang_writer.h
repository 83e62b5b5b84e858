#pragma once

#include "d2xx.h"

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
// clocks out and queues the samples for the host; once that queue is full it stops clocking. So
// before each write this reads back the samples the previous write produced, and a long tuning
// session never stalls. The samples themselves are of no use to the program and are dropped.
class SyncBitbangWriter
{
public:
    explicit SyncBitbangWriter(UsbPipe &pipe);

    FT_STATUS Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written);
    // Forgets what is still owed, as after the chip was reset or closed.
    void Reset() { pendingSamples = 0; }

    // Reads that return nothing before the samples count as lost: with the chip's latency timer at
    // 1 ms an empty read takes about a millisecond, so this is a tenth of a second.
    static constexpr int MaxEmptyReads = 100;

private:
    FT_STATUS DrainSamples();

    UsbPipe &pipe;
    std::uint32_t pendingSamples = 0;
};
