#include "sdr.h"
#include "sync_bitbang_writer.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A chip in synchronous bit-bang mode as the host sees it: each byte it takes from the host is put
// on the pins and the pins are sampled into a queue toward the host. When the queue is full the
// chip stops taking bytes, and after its timeout the host's write fails as libftdi's does.
class SamplingChip final : public UsbPipe
{
public:
    static constexpr std::size_t QueueCapacity = 256;

    int WriteData(const std::uint8_t *bytes, int size) override
    {
        int taken = 0;
        while (taken < size && samples.size() < QueueCapacity)
            samples.push_back(bytes[taken++]);
        clocked += static_cast<std::size_t>(taken);
        return taken == size ? size : -1;
    }
    int ReadData(std::uint8_t *bytes, int size) override
    {
        if (failReads)
            return -1;
        // A real read returns what has arrived, often less than asked for.
        const int n = std::min<int>({size, static_cast<int>(samples.size()), readPacket});
        for (int i = 0; i < n; ++i) {
            bytes[i] = samples.front();
            samples.pop_front();
        }
        read += static_cast<std::size_t>(n);
        return n;
    }

    std::deque<std::uint8_t> samples;
    std::size_t clocked = 0;
    std::size_t read = 0;
    int readPacket = 62;
    bool failReads = false;
};

// The driver's D2XX calls answered by the writer over the sampling chip.
class SamplingD2xx final : public D2xx
{
public:
    FT_STATUS FT_Open(int, FT_HANDLE *handle) override
    {
        *handle = 1;
        return FT_OK;
    }
    FT_STATUS FT_SetBitMode(FT_HANDLE, std::uint8_t, std::uint8_t) override { return FT_OK; }
    FT_STATUS FT_SetBaudRate(FT_HANDLE, std::uint32_t) override { return FT_OK; }
    FT_STATUS FT_Write(FT_HANDLE, const void *buffer, std::uint32_t length, std::uint32_t *written) override
    {
        return writer.Write(static_cast<const std::uint8_t *>(buffer), length, written);
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }

    SamplingChip chip;
    SyncBitbangWriter writer{chip};
};

} // namespace

TEST(SyncBitbangWriterTest, KeepsUpOverTenThousandFrequencyChanges)
{
    SamplingD2xx port;
    Tsdr sdr(nullptr, port);
    int messages = 0;
    sdr.OnMessage = [&](Tsdr *, const QString &text) {
        if (text != Tsdr::CreditText())
            ++messages;
    };
    sdr.Initialize();
    for (int i = 0; i < 10'000; ++i)
        sdr.SetFrequency(7'000'000 + (i % 500) * 100);

    EXPECT_EQ(messages, 0);
    EXPECT_EQ(port.chip.clocked, (10'000 + 1) * 208u);
    // Everything but the last word's samples has been read back before the next write.
    EXPECT_EQ(port.chip.read, port.chip.clocked - 52);
}

TEST(SyncBitbangWriterTest, SamplesArriveInSmallPieces)
{
    SamplingChip chip;
    chip.readPacket = 1;
    SyncBitbangWriter writer(chip);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    EXPECT_EQ(written, 52u);
    EXPECT_EQ(chip.read, 99 * 52u);
}

TEST(SyncBitbangWriterTest, ReadErrorIsAnIoErrorAndTheNextWriteGoesOn)
{
    SamplingChip chip;
    SyncBitbangWriter writer(chip);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    chip.failReads = true;
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    chip.failReads = false;
    chip.samples.clear();
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
}

TEST(SyncBitbangWriterTest, MissingSamplesEndInAnIoErrorNotAHang)
{
    SamplingChip chip;
    SyncBitbangWriter writer(chip);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    chip.samples.clear(); // the chip lost them
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR);
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
}
