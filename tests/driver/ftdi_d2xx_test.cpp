#include "fake_libftdi.h"
#include "ftdi_d2xx.h"
#include "sdr.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Strings OpenFirstChip{"ftdi_new", "ftdi_usb_find_all 0 0", "ftdi_usb_open_dev 0", "ftdi_list_free",
                            "ftdi_set_latency_timer 1"};

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

struct FindCase
{
    int chips;
    int index;
    FT_STATUS status;
    const char *opened; // the ftdi_usb_open_dev call, if any
};

void PrintTo(const FindCase &c, std::ostream *out)
{
    *out << "index " << c.index << " of " << c.chips << " chips";
}

class FtdiD2xxFind : public testing::TestWithParam<FindCase>
{
};

TEST_P(FtdiD2xxFind, IndexCountsTheChipsLibftdiFinds)
{
    const FindCase c = GetParam();
    FakeLibftdi library;
    library.chips = c.chips;
    FtdiD2xx port(library);
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(c.index, &handle), c.status);
    EXPECT_EQ(handle, c.status == FT_OK ? 1u : 0u);
    Strings expected{"ftdi_new", "ftdi_usb_find_all 0 0"};
    if (*c.opened != 0)
        expected.emplace_back(c.opened);
    expected.emplace_back("ftdi_list_free");
    expected.emplace_back(c.status == FT_OK ? "ftdi_set_latency_timer 1" : "ftdi_free");
    EXPECT_EQ(library.Calls(), expected);
    EXPECT_EQ(library.LiveLists(), 0);
    EXPECT_EQ(library.LiveContexts(), c.status == FT_OK ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Chips, FtdiD2xxFind,
                         testing::Values(FindCase{0, 0, FT_DEVICE_NOT_FOUND, ""},
                                         FindCase{2, 0, FT_OK, "ftdi_usb_open_dev 0"},
                                         FindCase{2, 1, FT_OK, "ftdi_usb_open_dev 1"},
                                         FindCase{2, 2, FT_DEVICE_NOT_FOUND, ""},
                                         FindCase{2, -1, FT_DEVICE_NOT_FOUND, ""}));

TEST(FtdiD2xxTest, WithoutLibusbNothingIsFound)
{
    FakeLibftdi library;
    library.chips = 1;
    library.libusbStarts = false;
    FtdiD2xx port(library);
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(library.Calls(), Strings{"ftdi_new"});
}

// The system's own library, asked for an index no chip can have: whatever is attached, nothing.
TEST(FtdiD2xxTest, SystemLibraryAtANegativeIndex)
{
    FtdiD2xx port;
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(-1, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(handle, 0u);
}

// libftdi's errors of ftdi_usb_open_dev, and of the latency timer, as D2XX statuses.
TEST(FtdiD2xxTest, OpenErrorsMapToTheNearestStatus)
{
    const std::vector<std::pair<int, FT_STATUS>> cases{
        {-3, FT_DEVICE_NOT_OPENED}, {-4, FT_DEVICE_NOT_OPENED}, {-5, FT_DEVICE_NOT_OPENED},
        {-8, FT_DEVICE_NOT_OPENED}, {-11, FT_DEVICE_NOT_OPENED}, {-6, FT_IO_ERROR},
        {-7, FT_IO_ERROR},          {-9, FT_IO_ERROR},           {-10, FT_IO_ERROR},
        {-12, FT_IO_ERROR}};
    for (const auto &[result, status] : cases) {
        FakeLibftdi library;
        library.chips = 1;
        library.results["ftdi_usb_open_dev"] = result;
        FtdiD2xx port(library);
        FT_HANDLE handle = 77;
        EXPECT_EQ(port.FT_Open(0, &handle), status) << result;
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(library.Calls().back(), "ftdi_free") << result;
        EXPECT_EQ(library.LiveContexts(), 0);
    }

    FakeLibftdi library;
    library.chips = 1;
    library.results["ftdi_set_latency_timer"] = -3;
    FtdiD2xx port(library);
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_IO_ERROR);
    Strings expected = OpenFirstChip;
    expected.insert(expected.end(), {"ftdi_usb_close", "ftdi_free"});
    EXPECT_EQ(library.Calls(), expected);
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

TEST_F(FtdiD2xxOpen, OneDeviceAtATimeAndHandleOneOnly)
{
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(port.FT_SetBitMode(2, 0xFF, 4), FT_INVALID_HANDLE);
    EXPECT_TRUE(library.Calls().empty());
}

TEST_F(FtdiD2xxOpen, BitModeAndItsErrors)
{
    for (const auto &[result, status] :
         std::vector<std::pair<int, FT_STATUS>>{{0, FT_OK}, {-1, FT_IO_ERROR}, {-2, FT_DEVICE_NOT_OPENED}}) {
        library.results["ftdi_set_bitmode"] = result;
        EXPECT_EQ(port.FT_SetBitMode(1, 0xFF, 4), status) << result;
    }
    EXPECT_EQ(library.Calls(), Strings(3, "ftdi_set_bitmode 255 4"));
}

struct RateCase
{
    bool bitBang;
    std::uint32_t baudRate;
    int result; // of ftdi_set_baudrate
    const char *handed; // the call libftdi gets, if any
    FT_STATUS status;
};

void PrintTo(const RateCase &c, std::ostream *out)
{
    *out << c.baudRate << (c.bitBang ? " in bit-bang mode" : "") << ", libftdi answers " << c.result;
}

class FtdiD2xxRate : public FtdiD2xxOpen, public testing::WithParamInterface<RateCase>
{
};

// In bit-bang mode libftdi multiplies the rate by four, so it is handed a quarter, rounded.
TEST_P(FtdiD2xxRate, FigureHandedToLibftdiAndItsErrors)
{
    const RateCase c = GetParam();
    if (c.bitBang) {
        ASSERT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_OK);
        library.ClearCalls();
    }
    library.results["ftdi_set_baudrate"] = c.result;
    EXPECT_EQ(port.FT_SetBaudRate(1, c.baudRate), c.status);
    EXPECT_EQ(library.Calls(), *c.handed == 0 ? Strings{} : Strings{c.handed});
}

INSTANTIATE_TEST_SUITE_P(
    Rates, FtdiD2xxRate,
    testing::Values(RateCase{false, 115200, 0, "ftdi_set_baudrate 115200", FT_OK},
                    RateCase{true, 115200, 0, "ftdi_set_baudrate 28800", FT_OK},
                    RateCase{true, 9602, 0, "ftdi_set_baudrate 2401", FT_OK},
                    RateCase{true, 48'000'001, 0, "ftdi_set_baudrate 12000000", FT_OK},
                    RateCase{true, 48'000'006, 0, "", FT_INVALID_BAUD_RATE},
                    RateCase{true, 1, 0, "", FT_INVALID_BAUD_RATE},
                    RateCase{false, 0, 0, "", FT_INVALID_BAUD_RATE},
                    RateCase{true, 115200, -1, "ftdi_set_baudrate 28800", FT_INVALID_BAUD_RATE},
                    RateCase{true, 115200, -2, "ftdi_set_baudrate 28800", FT_IO_ERROR},
                    RateCase{true, 115200, -3, "ftdi_set_baudrate 28800", FT_DEVICE_NOT_OPENED}));

TEST_F(FtdiD2xxOpen, EachWriteFirstReadsBackThePreviousWordsSamples)
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
    EXPECT_EQ(Write(first, &written), FT_OK);
    EXPECT_EQ(library.Calls(), (Strings{"ftdi_set_bitmode 255 4", "ftdi_write_data 52", "ftdi_read_data 52",
                                        "ftdi_write_data 52", "ftdi_set_bitmode 255 4", "ftdi_write_data 52"}));
    EXPECT_EQ(library.Written(), (std::vector<Bytes>{first, second, first}));
}

TEST_F(FtdiD2xxOpen, FailedAndShortWritesAreIoErrors)
{
    const Bytes word(52, 0x65);
    std::uint32_t written = 9;
    library.results["ftdi_write_data"] = -1;
    EXPECT_EQ(Write(word, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    library.results["ftdi_write_data"] = 20;
    EXPECT_EQ(Write(word, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 20u);
}

TEST_F(FtdiD2xxOpen, CloseReleasesTheContextAndItsErrorIsAnIoError)
{
    library.results["ftdi_usb_close"] = -1;
    EXPECT_EQ(port.FT_Close(1), FT_IO_ERROR);
    EXPECT_EQ(library.Calls(), (Strings{"ftdi_usb_close", "ftdi_free"}));
    EXPECT_EQ(library.LiveContexts(), 0);
    EXPECT_EQ(port.FT_Close(1), FT_INVALID_HANDLE);

    // Open again, and let the port go: it closes the chip once.
    FT_HANDLE handle = 0;
    library.results.clear();
    library.ClearCalls();
    {
        FtdiD2xx other(library);
        ASSERT_EQ(other.FT_Open(0, &handle), FT_OK);
    }
    Strings expected = OpenFirstChip;
    expected.insert(expected.end(), {"ftdi_usb_close", "ftdi_free"});
    EXPECT_EQ(library.Calls(), expected);
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
    Strings expected = OpenFirstChip;
    expected.insert(expected.end(), {"ftdi_set_bitmode 255 4", "ftdi_set_baudrate 28800", "ftdi_write_data 52"});
    for (int word = 1; word < 4; ++word)
        expected.insert(expected.end(), {"ftdi_read_data 52", "ftdi_write_data 52"});
    EXPECT_EQ(library.Calls(), expected);
    EXPECT_EQ(messages, QStringList{Tsdr::CreditText()});

    FakeLibftdi none;
    FtdiD2xx nothing(none);
    Tsdr alone(nullptr, nothing);
    alone.OnMessage = [&](Tsdr *, const QString &text) { messages << text; };
    alone.Initialize();
    EXPECT_EQ(messages.last(), u"Error USB -Dispositivo no encontrado - Device not found"_s);
}
