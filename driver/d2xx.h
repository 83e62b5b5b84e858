#pragma once

#include <cstdint>
#include <string>

// The D2XX-style calls the driver makes. Each returns a status, FT_OK on success;
// the numbers are those of FTDI's D2XX library, so the status texts match them.
using FT_STATUS = std::int32_t;
using FT_HANDLE = std::uint32_t;

enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_INVALID_BAUD_RATE = 7,
    FT_DEVICE_NOT_OPENED_FOR_ERASE = 8,
    FT_DEVICE_NOT_OPENED_FOR_WRITE = 9,
    FT_FAILED_TO_WRITE_DEVICE = 10,
    FT_EEPROM_READ_FAILED = 11,
    FT_EEPROM_WRITE_FAILED = 12,
    FT_EEPROM_ERASE_FAILED = 13,
    FT_EEPROM_NOT_PRESENT = 14,
    FT_EEPROM_NOT_PROGRAMMED = 15,
    FT_INVALID_ARGS = 16,
    FT_NOT_SUPPORTED = 17,
};

// Bit-bang mode numbers as D2XX (and libftdi) define them.
constexpr std::uint8_t FT_BITMODE_SYNC_BITBANG = 0x04;

class D2xx
{
public:
    virtual ~D2xx() = default;

    virtual FT_STATUS FT_Open(int deviceIndex, FT_HANDLE *handle) = 0;
    // Opens the chip at a USB port path ("1-1.2", as the kernel names the device), as D2XX's
    // FT_OpenEx does by location: the chip the user chose, wherever it comes in the list.
    virtual FT_STATUS FT_OpenEx(const std::string &portPath, FT_HANDLE *handle) = 0;
    virtual FT_STATUS FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode) = 0;
    virtual FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) = 0;
    virtual FT_STATUS FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length,
                               std::uint32_t *written) = 0;
    virtual FT_STATUS FT_Close(FT_HANDLE handle) = 0;
};
