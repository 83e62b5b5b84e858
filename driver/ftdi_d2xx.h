#pragma once

#include "d2xx.h"
#include "libftdi.h"
#include "sync_bitbang_writer.h"

#include <functional>
#include <memory>

// The D2XX calls over libftdi1: device index n is the n-th FTDI chip that libftdi finds with its
// default product ids, a location the chip in that USB port. One device can be open at a time;
// its handle is 1.
class FtdiD2xx final : public D2xx
{
public:
    // Over the system's libftdi.
    FtdiD2xx();
    // Over `library`, which outlives this.
    explicit FtdiD2xx(Libftdi &library);
    ~FtdiD2xx() override;

    FT_STATUS FT_Open(int deviceIndex, FT_HANDLE *handle) override;
    FT_STATUS FT_OpenEx(const std::string &portPath, FT_HANDLE *handle) override;
    FT_STATUS FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode) override;
    FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length,
                       std::uint32_t *written) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;

    // The longest one USB transfer to or from the chip may take before it counts as failed.
    static constexpr int UsbTimeoutMs = 50;

    // The D2XX status nearest to a libftdi error of ftdi_usb_open_dev.
    static FT_STATUS OpenStatus(int libftdiResult);

private:
    struct ContextDeleter
    {
        Libftdi *library;
        void operator()(ftdi_context *context) const { library->Free(context); }
    };
    class Pipe;

    // Opens the first chip of libftdi's list that `wanted` accepts; it is given each chip's place
    // in the list and the chip.
    FT_STATUS OpenFirst(const std::function<bool(int, libusb_device *)> &wanted, FT_HANDLE *handle);
    bool IsOpen(FT_HANDLE handle) const { return context != nullptr && handle == OpenHandle; }

    static constexpr FT_HANDLE OpenHandle = 1;

    Libftdi &library;
    std::unique_ptr<ftdi_context, ContextDeleter> context;
    std::unique_ptr<Pipe> pipe;
    std::unique_ptr<SyncBitbangWriter> writer;
};
