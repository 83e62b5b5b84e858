#pragma once

#include "d2xx.h"

#include <benchmark/benchmark.h>

#include <cstdint>

// A port that takes every word and only counts its bytes: what is measured is the program's work.
class CountingD2xx final : public D2xx
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
        benchmark::DoNotOptimize(buffer);
        bytes += length;
        *written = length;
        return FT_OK;
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }

    std::uint64_t bytes = 0;
};
