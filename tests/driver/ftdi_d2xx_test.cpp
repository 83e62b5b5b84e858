#include "fake_libftdi.h"
#include "ftdi_d2xx.h"
#include "sdr.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Strings OpenFirstChip{"ftdi_new", "ftdi_usb_find_all 0 0", "ftdi_usb_open_dev 0", "ftdi_list_free",
                            "ftdi_set_latency_timer 1"};

Strings Then(Strings calls, const Strings &more)
{
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

// An FtdiD2xx with its chip open, its calls cleared.
class FtdiD2xxOpen : public testing::Test
{
protected:
    void SetUp() override
    {
        library.chips = 1;
        FT_HANDLE handle = 0;
        ASSERT_EQ(port.FT_Open(0, &handle), FT_OK);
        ASSERT_EQ(handle, 1u);
        library.ClearCalls();
    }
    FT_STATUS Write(const Bytes &bytes, std::uint32_t *written)
    {
        return port.FT_Write(1, bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
    }

    FakeLibftdi library;
    FtdiD2xx port{library};
};

} // namespace

// Index n is the n-th chip libftdi finds, a location the chip in that port; a chip not found
// leaves nothing open or allocated.
TEST(FtdiD2xxTest, IndexOrLocationPicksAChipLibftdiFinds)
{
    const struct
    {
        int chips;
        int index;
        const char *location; // FT_OpenEx instead, when given
        const char *opened;   // the ftdi_usb_open_dev call, if any
    } cases[] = {{0, 0, nullptr, ""},
                 {2, 0, nullptr, "ftdi_usb_open_dev 0"},
                 {2, 1, nullptr, "ftdi_usb_open_dev 1"},
                 {2, 2, nullptr, ""},
                 {2, -1, nullptr, ""},
                 {3, 0, "1-2", "ftdi_usb_open_dev 1"},
                 {3, 0, "1-3", "ftdi_usb_open_dev 2"},
                 {3, 0, "1-4", ""},
                 {3, 0, "1-1.1", ""}};
    for (const auto &c : cases) {
        FakeLibftdi library;
        library.chips = c.chips;
        FtdiD2xx port(library);
        const bool found = *c.opened != 0;
        FT_HANDLE handle = 77;
        const FT_STATUS status = c.location ? port.FT_OpenEx(c.location, &handle) : port.FT_Open(c.index, &handle);
        EXPECT_EQ(status, found ? FT_OK : FT_DEVICE_NOT_FOUND) << c.index;
        EXPECT_EQ(handle, found ? 1u : 0u);
        Strings expected{"ftdi_new", "ftdi_usb_find_all 0 0"};
        if (found)
            expected.emplace_back(c.opened);
        expected.emplace_back("ftdi_list_free");
        expected.emplace_back(found ? "ftdi_set_latency_timer 1" : "ftdi_free");
        EXPECT_EQ(library.Calls(), expected) << c.index;
    }

    FakeLibftdi withoutUsb;
    withoutUsb.chips = 1;
    withoutUsb.libusbStarts = false;
    FT_HANDLE handle = 77;
    EXPECT_EQ(FtdiD2xx(withoutUsb).FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(withoutUsb.Calls(), Strings{"ftdi_new"});
}

// The system's own library, asked for an index no chip can have: whatever is attached, nothing.
TEST(FtdiD2xxTest, SystemLibraryAtANegativeIndex)
{
    FtdiD2xx port;
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(-1, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(handle, 0u);
}

// libftdi's errors of ftdi_usb_open_dev as the nearest D2XX statuses; a failed latency timer
// closes the chip again.
TEST(FtdiD2xxTest, OpenErrors)
{
    constexpr FT_STATUS Busy = FT_DEVICE_NOT_OPENED;
    const std::pair<int, FT_STATUS> cases[] = {{-3, Busy},        {-4, Busy},        {-5, Busy},         {-8, Busy},
                                               {-11, Busy},       {-6, FT_IO_ERROR}, {-7, FT_IO_ERROR},  {-9, FT_IO_ERROR},
                                               {-10, FT_IO_ERROR}, {-12, FT_IO_ERROR}};
    for (const auto &[result, status] : cases) {
        FakeLibftdi library;
        library.chips = 1;
        library.results["ftdi_usb_open_dev"] = result;
        FT_HANDLE handle = 77;
        EXPECT_EQ(FtdiD2xx(library).FT_Open(0, &handle), status) << result;
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(library.Calls().back(), "ftdi_free") << result;
    }

    FakeLibftdi library;
    library.chips = 1;
    library.results["ftdi_set_latency_timer"] = -3;
    FtdiD2xx port(library);
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_IO_ERROR);
    EXPECT_EQ(library.Calls(), Then(OpenFirstChip, {"ftdi_usb_close", "ftdi_free"}));
    EXPECT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_INVALID_HANDLE);
}

TEST(FtdiD2xxTest, CallsWithoutAnOpenDeviceAreInvalidHandles)
{
    FakeLibftdi library;
    FtdiD2xx port(library);
    const std::uint8_t byte = 5;
    std::uint32_t written = 9;
    EXPECT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_INVALID_HANDLE);
    EXPECT_EQ(port.FT_SetBaudRate(1, 115200), FT_INVALID_HANDLE);
    EXPECT_EQ(port.FT_Write(1, &byte, 1, &written), FT_INVALID_HANDLE);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(port.FT_Close(1), FT_INVALID_HANDLE);
    EXPECT_TRUE(library.Calls().empty());
}

TEST_F(FtdiD2xxOpen, BitModeAndItsErrors)
{
    for (const auto &[result, status] : {std::pair{0, FT_OK}, {-1, FT_IO_ERROR}, {-2, FT_DEVICE_NOT_OPENED}}) {
        library.results["ftdi_set_bitmode"] = result;
        EXPECT_EQ(port.FT_SetBitMode(1, 0xFF, 4), status) << result;
    }
    EXPECT_EQ(library.Calls(), Strings(3, "ftdi_set_bitmode 255 4"));
}

// In bit-bang mode libftdi multiplies the rate by four, so it is handed a quarter, rounded.
TEST_F(FtdiD2xxOpen, RateHandedToLibftdiAndItsErrors)
{
    EXPECT_EQ(port.FT_SetBaudRate(1, 115200), FT_OK);
    EXPECT_EQ(port.FT_SetBaudRate(1, 0), FT_INVALID_BAUD_RATE);
    EXPECT_EQ(library.Calls(), Strings{"ftdi_set_baudrate 115200"});
    ASSERT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_OK);
    const struct
    {
        std::uint32_t baudRate;
        int result; // of ftdi_set_baudrate
        const char *handed; // the call libftdi gets, if any
        FT_STATUS status;
    } cases[] = {{115200, 0, "ftdi_set_baudrate 28800", FT_OK},
                 {9602, 0, "ftdi_set_baudrate 2401", FT_OK},
                 {48'000'001, 0, "ftdi_set_baudrate 12000000", FT_OK},
                 {48'000'006, 0, "", FT_INVALID_BAUD_RATE},
                 {1, 0, "", FT_INVALID_BAUD_RATE},
                 {115200, -1, "ftdi_set_baudrate 28800", FT_INVALID_BAUD_RATE},
                 {115200, -2, "ftdi_set_baudrate 28800", FT_IO_ERROR},
                 {115200, -3, "ftdi_set_baudrate 28800", FT_DEVICE_NOT_OPENED}};
    for (const auto &c : cases) {
        library.ClearCalls();
        library.results["ftdi_set_baudrate"] = c.result;
        EXPECT_EQ(port.FT_SetBaudRate(1, c.baudRate), c.status) << c.baudRate << ", " << c.result;
        EXPECT_EQ(library.Calls(), *c.handed == 0 ? Strings{} : Strings{c.handed}) << c.baudRate;
    }
}

// Words go out back to back; their samples are read back once the chip would otherwise stop
// (more than its 128 samples owed), when the event loop turns, and before the chip is closed.
TEST_F(FtdiD2xxOpen, WordsGoOutBackToBackAndTheirSamplesAreReadOnce)
{
    ASSERT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_OK);
    const Bytes first(52, 0x65);
    const Bytes second(52, 0x61);
    std::uint32_t written = 0;
    EXPECT_EQ(Write(first, &written), FT_OK);
    EXPECT_EQ(written, 52u);
    EXPECT_EQ(Write(second, &written), FT_OK);
    // A new bit mode resets the chip: nothing is owed any more.
    ASSERT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_OK);
    for (const Bytes &word : {first, second, first})
        EXPECT_EQ(Write(word, &written), FT_OK);
    QCoreApplication::processEvents();
    EXPECT_EQ(Write(second, &written), FT_OK);
    EXPECT_EQ(port.FT_Close(1), FT_OK);
    EXPECT_EQ(library.Calls(),
              (Strings{"ftdi_set_bitmode 255 4", "ftdi_write_data 52", "ftdi_write_data 52", "ftdi_set_bitmode 255 4",
                       "ftdi_write_data 52", "ftdi_write_data 52", "ftdi_write_data 52", "ftdi_read_data 156",
                       "ftdi_write_data 52", "ftdi_read_data 52", "ftdi_usb_close", "ftdi_free"}));
    EXPECT_EQ(library.Written(), (std::vector<Bytes>{first, second, first, second, first, second}));
}

TEST_F(FtdiD2xxOpen, FailedAndShortWritesAreIoErrors)
{
    const Bytes word(52, 0x65);
    std::uint32_t written = 9;
    library.results["ftdi_write_data"] = -1;
    EXPECT_EQ(Write(word, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    QCoreApplication::processEvents(); // the next change
    library.results["ftdi_write_data"] = 20;
    EXPECT_EQ(Write(word, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 20u);
}

// One device at a time, handle 1 only; closing it releases the context, also when libftdi fails.
TEST_F(FtdiD2xxOpen, OneDeviceAtATimeUntilClosed)
{
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(port.FT_SetBitMode(2, 0xFF, 4), FT_INVALID_HANDLE);
    EXPECT_TRUE(library.Calls().empty());
    library.results["ftdi_usb_close"] = -1;
    EXPECT_EQ(port.FT_Close(1), FT_IO_ERROR);
    EXPECT_EQ(library.Calls(), (Strings{"ftdi_usb_close", "ftdi_free"}));
    EXPECT_EQ(port.FT_Close(1), FT_INVALID_HANDLE);

    // A port that goes with its chip open closes it once.
    library.results.clear();
    library.ClearCalls();
    ASSERT_EQ(FtdiD2xx(library).FT_Open(0, &handle), FT_OK);
    EXPECT_EQ(library.Calls(), Then(OpenFirstChip, {"ftdi_usb_close", "ftdi_free"}));
}

// The driver's start-up over the libftdi layer: what the chip is told and the four words it gets.
TEST(FtdiD2xxTest, DriverInitialisesTheChip)
{
    FakeLibftdi library;
    library.chips = 1;
    FtdiD2xx port(library);
    QStringList messages;
    Tsdr sdr(nullptr, port);
    sdr.OnMessage = [&](Tsdr *, const QString &text) { messages << text; };
    sdr.Initialize();
    Strings expected = Then(OpenFirstChip, {"ftdi_set_bitmode 255 4", "ftdi_set_baudrate 28800"});
    for (int word = 0; word < 4; ++word)
        expected = Then(expected, {"ftdi_write_data 52"});
    QCoreApplication::processEvents();
    EXPECT_EQ(library.Calls(), Then(expected, {"ftdi_read_data 208"}));
    EXPECT_EQ(library.Written().size(), 4u);
    EXPECT_EQ(messages, QStringList{Tsdr::CreditText()});
}
