#pragma once

#include "d2xx.h"

#include <cstdint>

// A receiver that takes every call and every word and only counts the bytes: a stand-in for the
// hardware where none is wanted (benchmarks, rendering the windows).
class AcceptingD2xx : public D2xx
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
    FT_STATUS FT_Write(FT_HANDLE, const void *, std::uint32_t length, std::uint32_t *written) override
    {
        bytes += length;
        *written = length;
        return FT_OK;
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }

    std::uint64_t bytes = 0;
};
