#include "chip_d2xx.h"
#include "sdr.h"
#include "sync_bitbang_writer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

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

using SamplingD2xx = ChipD2xx<SamplingChip>;

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
    // Each change's samples are read back before the next change's first write; the last
    // change's when the event loop turns.
    EXPECT_EQ(port.chip.read, port.chip.clocked - 208);
    QCoreApplication::processEvents();
    EXPECT_EQ(port.chip.read, port.chip.clocked);
}

// A change's four words go out back to back, with no read between them; the samples are read
// back once, after the change, when the event loop turns.
TEST(SyncBitbangWriterTest, OneReadBackPerChangeAfterItsLastWord)
{
    struct CountingChip final : UsbPipe
    {
        SamplingChip chip;
        std::vector<char> calls; // 'w' for a write, 'r' for a read that took samples
        int WriteData(const std::uint8_t *bytes, int size) override
        {
            calls.push_back('w');
            return chip.WriteData(bytes, size);
        }
        int ReadData(std::uint8_t *bytes, int size) override
        {
            const int got = chip.ReadData(bytes, size);
            if (got > 0 && (calls.empty() || calls.back() != 'r'))
                calls.push_back('r');
            return got;
        }
    } counting;
    SyncBitbangWriter writer(counting);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    for (int change = 0; change < 2; ++change) {
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
        EXPECT_EQ(counting.chip.read, change * 208u);
        QCoreApplication::processEvents();
        EXPECT_EQ(counting.chip.read, (change + 1) * 208u);
    }
    EXPECT_EQ(std::string(counting.calls.begin(), counting.calls.end()), "wwwwrwwwwr");
    // Back to back, the next change's first write reads back the change before.
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    EXPECT_EQ(counting.chip.read, 3 * 208u);
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
    EXPECT_EQ(chip.read, 96 * 52u);
    EXPECT_EQ(writer.Drain(), FT_OK);
    EXPECT_EQ(chip.read, 100 * 52u);
}

// A read-back that fails, whether before a write or after a change, is the next write's
// failure; that write's bytes still reach the chip, and the one after it goes on.
TEST(SyncBitbangWriterTest, AFailedReadBackIsTheNextWritesIoErrorAndItsWordStillGoes)
{
    const std::vector<std::uint8_t> word(52, 0x61);
    for (const bool afterTheChange : {false, true}) {
        SamplingChip chip;
        SyncBitbangWriter writer(chip);
        std::uint32_t written = 0;
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
        chip.failReads = true;
        if (afterTheChange)
            QCoreApplication::processEvents();
        chip.samples.clear();
        EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR) << afterTheChange;
        EXPECT_EQ(written, 52u);
        EXPECT_EQ(chip.clocked, 260u) << afterTheChange;
        chip.failReads = false;
        EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_OK) << afterTheChange;
    }
}

// Once a word of a change fails, the change's other words fail without reaching the chip; the
// next change, after the event loop turned, goes out whole.
TEST(SyncBitbangWriterTest, AFailedWordEndsItsChange)
{
    SamplingChip chip;
    SyncBitbangWriter writer(chip);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    chip.samples.assign(SamplingChip::QueueCapacity, 0); // full, and no read gives them back
    chip.failReads = true;
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR);
    chip.samples.clear();
    chip.failReads = false;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR);
    EXPECT_EQ(chip.clocked, 0u);
    QCoreApplication::processEvents();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    EXPECT_EQ(chip.clocked, 208u);
}

TEST(SyncBitbangWriterTest, MissingSamplesEndInAnIoErrorNotAHang)
{
    SamplingChip chip;
    SyncBitbangWriter writer(chip);
    const std::vector<std::uint8_t> word(52, 0x61);
    std::uint32_t written = 0;
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
    chip.samples.clear(); // the chip lost them
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_IO_ERROR);
    EXPECT_EQ(writer.Write(word.data(), 52, &written), FT_OK);
}
