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
// or before a write that would leave more unread than the chip holds. That is one wait for the
// read-back per change, not one per word. The samples themselves are of no use to the program and
// are dropped.
//
// The words written before the event loop turns belong together (a control word and the half of
// the tuning word it selects): once one of them fails, the rest fail at once without reaching the
// chip, so that the pins never carry a half without its control word, and the next change starts
// afresh. A chip that holds less than assumed (it stops taking a word while samples are owed) is
// read back and given the word again, and from then on read back before it fills.
class SyncBitbangWriter
{
public:
    explicit SyncBitbangWriter(UsbPipe &pipe);

    // A read-back that failed since the write before is this write's failure, after its bytes
    // went out all the same.
    FT_STATUS Write(const std::uint8_t *bytes, std::uint32_t length, std::uint32_t *written);
    // Reads back all that is owed, so that every byte written has been clocked out.
    FT_STATUS Drain();
    // Forgets what is still owed, as after the chip was reset or closed.
    void Reset();

    // FT232R datasheet (FT_000053, "FIFO RX Buffer (256 bytes)", "FIFO TX Buffer (128 bytes)"):
    // what the chip holds from the host, and the samples it holds toward it.
    static constexpr std::uint32_t ReceiveBuffer = 256;
    static constexpr std::uint32_t SampleQueue = 128;
    // One USB packet at full speed: a write no longer than this reaches the chip whole or not at all.
    static constexpr std::uint32_t UsbPacket = 64;
    // Reads that return nothing before the samples count as lost: with the chip's latency timer at
    // 1 ms an empty read takes about a millisecond, so this is a twentieth of a second.
    static constexpr int MaxEmptyReads = 50;

private:
    int Send(const std::uint8_t *bytes, std::uint32_t length);
    void EndOfChangeSoon();

    UsbPipe &pipe;
    std::uint32_t pendingSamples = 0;
    // Bytes the chip takes before it must be read back.
    std::uint32_t capacity = ReceiveBuffer;
    FT_STATUS failedReadBack = FT_OK;
    bool changeFailed = false;
    QTimer endOfChange;
};
