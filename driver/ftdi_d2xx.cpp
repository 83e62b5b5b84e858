#include "ftdi_d2xx.h"

#include <ftdi.h>

class FtdiD2xx::Pipe final : public UsbPipe
{
public:
    Pipe(Libftdi &library, ftdi_context &context)
        : library(library)
        , context(context)
    {
    }
    int WriteData(const std::uint8_t *bytes, int size) override { return library.WriteData(&context, bytes, size); }
    int ReadData(std::uint8_t *bytes, int size) override { return library.ReadData(&context, bytes, size); }

private:
    Libftdi &library;
    ftdi_context &context;
};

namespace {

Libftdi &SystemLibrary()
{
    static SystemLibftdi library;
    return library;
}

} // namespace

FtdiD2xx::FtdiD2xx()
    : FtdiD2xx(SystemLibrary())
{
}

FtdiD2xx::FtdiD2xx(Libftdi &library)
    : library(library)
    , context(nullptr, ContextDeleter{&library})
{
}

FtdiD2xx::~FtdiD2xx()
{
    if (context)
        FT_Close(OpenHandle);
}

FT_STATUS FtdiD2xx::FT_Open(int deviceIndex, FT_HANDLE *handle)
{
    return OpenFirst([deviceIndex](int place, libusb_device *) { return place == deviceIndex; }, handle);
}

FT_STATUS FtdiD2xx::FT_OpenEx(const std::string &portPath, FT_HANDLE *handle)
{
    return OpenFirst([this, &portPath](int, libusb_device *device) { return library.PortPath(device) == portPath; },
                     handle);
}

FT_STATUS FtdiD2xx::OpenFirst(const std::function<bool(int, libusb_device *)> &wanted, FT_HANDLE *handle)
{
    *handle = 0;
    if (context)
        return FT_DEVICE_NOT_OPENED;
    std::unique_ptr<ftdi_context, ContextDeleter> opening(library.New(), ContextDeleter{&library});
    if (!opening) // libusb could not start: this machine offers no USB at all
        return FT_DEVICE_NOT_FOUND;

    // libftdi waits 5 s for a chip by default, with the window frozen meanwhile; a change's 208
    // bytes and their samples take a few milliseconds.
    opening->usb_read_timeout = UsbTimeoutMs;
    opening->usb_write_timeout = UsbTimeoutMs;

    ftdi_device_list *devices = nullptr;
    const int count = library.UsbFindAll(opening.get(), &devices, 0, 0);
    ftdi_device_list *entry = count > 0 ? devices : nullptr;
    for (int place = 0; entry != nullptr && !wanted(place, entry->dev); ++place)
        entry = entry->next;
    const bool found = entry != nullptr;
    const int opened = found ? library.UsbOpenDev(opening.get(), entry->dev) : 0;
    library.ListFree(&devices);
    if (!found)
        return FT_DEVICE_NOT_FOUND;
    if (opened < 0)
        return OpenStatus(opened);

    // The samples of one word fit in one USB packet; a 1 ms latency timer sends them back at once
    // instead of after the default 16 ms, which would make every change of frequency take 64 ms.
    if (library.SetLatencyTimer(opening.get(), 1) < 0) {
        library.UsbClose(opening.get());
        return FT_IO_ERROR;
    }
    context = std::move(opening);
    pipe = std::make_unique<Pipe>(library, *context);
    writer = std::make_unique<SyncBitbangWriter>(*pipe);
    *handle = OpenHandle;
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode)
{
    if (!IsOpen(handle))
        return FT_INVALID_HANDLE;
    // D2XX and libftdi number the modes alike (4 is synchronous bit-bang, BITMODE_SYNCBB).
    const int result = library.SetBitmode(context.get(), mask, mode);
    writer->Reset();
    if (result == -2)
        return FT_DEVICE_NOT_OPENED;
    return result < 0 ? FT_IO_ERROR : FT_OK;
}

FT_STATUS FtdiD2xx::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate)
{
    if (!IsOpen(handle))
        return FT_INVALID_HANDLE;
    // D2XX programs the divisor of the rate it is given; in bit-bang mode the chip then clocks bytes
    // at 16 times that rate (FTDI application note AN232R-01, "Bit Bang Modes for the FT232R and
    // FT245R": 9600 baud gives 153,600 bytes a second). libftdi multiplies the rate by 4 once
    // bit-bang mode is on, so it is handed a quarter of the rate and programs the same divisor:
    // 115,200 then paces the pins at 1,843,200 bytes a second, as the D2XX call does.
    std::int64_t rate = baudRate;
    if (context->bitbang_enabled)
        rate = (rate + 2) / 4;
    if (rate <= 0 || rate > 12'000'000) // libftdi divides by the rate and takes an int
        return FT_INVALID_BAUD_RATE;
    switch (library.SetBaudrate(context.get(), static_cast<int>(rate))) {
    case 0: return FT_OK;
    case -1: return FT_INVALID_BAUD_RATE;
    case -3: return FT_DEVICE_NOT_OPENED;
    default: return FT_IO_ERROR;
    }
}

FT_STATUS FtdiD2xx::FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length, std::uint32_t *written)
{
    *written = 0;
    if (!IsOpen(handle))
        return FT_INVALID_HANDLE;
    return writer->Write(static_cast<const std::uint8_t *>(buffer), length, written);
}

FT_STATUS FtdiD2xx::FT_Close(FT_HANDLE handle)
{
    if (!IsOpen(handle))
        return FT_INVALID_HANDLE;
    // The last change's bytes are clocked out before the chip is let go; whether its samples come
    // back no longer matters.
    writer->Drain();
    const int result = library.UsbClose(context.get());
    writer.reset();
    pipe.reset();
    context.reset();
    return result < 0 ? FT_IO_ERROR : FT_OK;
}

FT_STATUS FtdiD2xx::OpenStatus(int libftdiResult)
{
    switch (libftdiResult) {
    case 0:
        return FT_OK;
    case -4: // libusb_open failed: usually no permission on the device node (see the udev rule)
    case -5: // the interface could not be claimed: another program or driver holds it
    case -8: // inappropriate permissions on the device
    case -3: // the configuration could not be set: the kernel serial driver is still bound
    case -11: // the kernel serial driver could not be detached
        return FT_DEVICE_NOT_OPENED;
    default: // reset, baud rate and descriptor requests that failed on an opened device
        return FT_IO_ERROR;
    }
}
