#include "ftdi_d2xx.h"
#include "sdr.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// No receiver is attached to the machines the tests run on.
TEST(FtdiD2xxTest, NoDeviceOnThisMachine)
{
    FtdiD2xx port;
    FT_HANDLE handle = 77;
    EXPECT_EQ(port.FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(handle, 0u);
}

TEST(FtdiD2xxTest, DriverOverLibftdiReportsDeviceNotFound)
{
    FtdiD2xx port;
    QStringList messages;
    {
        Tsdr sdr(nullptr, port);
        sdr.OnMessage = [&](Tsdr *, const QString &text) { messages << text; };
        sdr.Initialize();
        sdr.SetFrequency(14'200'000);
        EXPECT_EQ(sdr.DeviceHandle, 0u);
    }
    EXPECT_EQ(messages, QStringList{u"Error USB -Dispositivo no encontrado - Device not found"_s});
}

TEST(FtdiD2xxTest, CallsWithoutAnOpenDeviceAreInvalidHandles)
{
    FtdiD2xx port;
    const std::uint8_t byte = 5;
    std::uint32_t written = 9;
    EXPECT_EQ(port.FT_SetBitMode(1, 0xFF, 4), FT_INVALID_HANDLE);
    EXPECT_EQ(port.FT_SetBaudRate(1, 115200), FT_INVALID_HANDLE);
    EXPECT_EQ(port.FT_Write(1, &byte, 1, &written), FT_INVALID_HANDLE);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(port.FT_Close(1), FT_INVALID_HANDLE);
}

TEST(FtdiD2xxTest, OpenErrorsMapToTheNearestStatus)
{
    EXPECT_EQ(FtdiD2xx::OpenStatus(0), FT_OK);
    for (const int permissionOrBusy : {-3, -4, -5, -8, -11})
        EXPECT_EQ(FtdiD2xx::OpenStatus(permissionOrBusy), FT_DEVICE_NOT_OPENED) << permissionOrBusy;
    for (const int ioFailure : {-6, -7, -9, -10, -12})
        EXPECT_EQ(FtdiD2xx::OpenStatus(ioFailure), FT_IO_ERROR) << ioFailure;
}
