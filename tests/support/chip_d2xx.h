#pragma once

#include "d2xx.h"
#include "sync_bitbang_writer.h"

// The driver's D2XX calls answered by the synchronous bit-bang writer over a stand-in chip: opening,
// the bit mode and the rate succeed; every write goes through the writer to the chip.
template <typename Chip>
class ChipD2xx final : public D2xx
{
public:
    FT_STATUS FT_Open(int, FT_HANDLE *handle) override
    {
        *handle = 1;
        return FT_OK;
    }
    FT_STATUS FT_OpenEx(const std::string &, FT_HANDLE *handle) override { return FT_Open(0, handle); }
    FT_STATUS FT_SetBitMode(FT_HANDLE, std::uint8_t, std::uint8_t) override { return FT_OK; }
    FT_STATUS FT_SetBaudRate(FT_HANDLE, std::uint32_t) override { return FT_OK; }
    FT_STATUS FT_Write(FT_HANDLE, const void *buffer, std::uint32_t length, std::uint32_t *written) override
    {
        return writer.Write(static_cast<const std::uint8_t *>(buffer), length, written);
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }

    Chip chip;
    SyncBitbangWriter writer{chip};
};
