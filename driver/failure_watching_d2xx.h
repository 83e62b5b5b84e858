#pragma once

#include "d2xx.h"

#include <functional>

// Passes every call on to another D2XX layer and tells of each write that fails: an unplugged
// receiver shows first as a failed write.
class TFailureWatchingD2xx final : public D2xx
{
public:
    explicit TFailureWatchingD2xx(D2xx &port)
        : port(port)
    {
    }

    std::function<void()> OnWriteFailed;

    FT_STATUS FT_Open(int deviceIndex, FT_HANDLE *handle) override { return port.FT_Open(deviceIndex, handle); }
    FT_STATUS FT_OpenEx(const std::string &portPath, FT_HANDLE *handle) override
    {
        return port.FT_OpenEx(portPath, handle);
    }
    FT_STATUS FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode) override
    {
        return port.FT_SetBitMode(handle, mask, mode);
    }
    FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) override
    {
        return port.FT_SetBaudRate(handle, baudRate);
    }
    FT_STATUS FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length, std::uint32_t *written) override
    {
        const FT_STATUS status = port.FT_Write(handle, buffer, length, written);
        if (status != FT_OK && OnWriteFailed)
            OnWriteFailed();
        return status;
    }
    FT_STATUS FT_Close(FT_HANDLE handle) override { return port.FT_Close(handle); }

private:
    D2xx &port;
};
