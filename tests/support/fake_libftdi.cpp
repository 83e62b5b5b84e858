#include "fake_libftdi.h"

#include <ftdi.h>

#include <algorithm>

int FakeLibftdi::Call(const std::string &name, const std::string &arguments, int success)
{
    calls.push_back(arguments.empty() ? name : name + ' ' + arguments);
    const auto chosen = results.find(name);
    return chosen == results.end() ? success : chosen->second;
}

ftdi_context *FakeLibftdi::New()
{
    Call("ftdi_new", {}, 0);
    if (!libusbStarts)
        return nullptr;
    return new ftdi_context{};
}

void FakeLibftdi::Free(ftdi_context *context)
{
    Call("ftdi_free", {}, 0);
    delete context;
}

int FakeLibftdi::UsbFindAll(ftdi_context *, ftdi_device_list **devices, int vendor, int product)
{
    const int found = Call("ftdi_usb_find_all", std::to_string(vendor) + ' ' + std::to_string(product), chips);
    *devices = nullptr;
    for (int chip = std::min(found, chips) - 1; chip >= 0; --chip)
        *devices = new ftdi_device_list{*devices, reinterpret_cast<libusb_device *>(&deviceTokens.at(chip))};
    return found;
}

void FakeLibftdi::ListFree(ftdi_device_list **devices)
{
    Call("ftdi_list_free", {}, 0);
    while (ftdi_device_list *first = *devices) {
        *devices = first->next;
        delete first;
    }
}

int FakeLibftdi::UsbOpenDev(ftdi_context *, libusb_device *device)
{
    const auto chip = reinterpret_cast<char *>(device) - deviceTokens.data();
    return Call("ftdi_usb_open_dev", std::to_string(chip), 0);
}

std::string FakeLibftdi::PortPath(libusb_device *device)
{
    return "1-" + std::to_string(reinterpret_cast<char *>(device) - deviceTokens.data() + 1);
}

int FakeLibftdi::SetLatencyTimer(ftdi_context *, unsigned char latency)
{
    return Call("ftdi_set_latency_timer", std::to_string(latency), 0);
}

// As libftdi does, the context notes the mode once the chip took it.
int FakeLibftdi::SetBitmode(ftdi_context *context, unsigned char mask, unsigned char mode)
{
    const int result = Call("ftdi_set_bitmode", std::to_string(mask) + ' ' + std::to_string(mode), 0);
    if (result == 0) {
        context->bitbang_mode = mode;
        context->bitbang_enabled = mode == BITMODE_RESET ? 0 : 1;
    }
    return result;
}

int FakeLibftdi::SetBaudrate(ftdi_context *, int baudrate)
{
    return Call("ftdi_set_baudrate", std::to_string(baudrate), 0);
}

int FakeLibftdi::WriteData(ftdi_context *context, const unsigned char *bytes, int size)
{
    const int result = Call("ftdi_write_data", std::to_string(size), size);
    const int taken = std::clamp(result, 0, size);
    written.emplace_back(bytes, bytes + taken);
    if (context->bitbang_enabled)
        samples.insert(samples.end(), bytes, bytes + taken);
    return result;
}

int FakeLibftdi::ReadData(ftdi_context *, unsigned char *bytes, int size)
{
    const int result = Call("ftdi_read_data", std::to_string(size), std::min<int>(size, static_cast<int>(samples.size())));
    for (int i = 0; i < result && !samples.empty(); ++i) {
        bytes[i] = samples.front();
        samples.pop_front();
    }
    return result;
}

int FakeLibftdi::UsbClose(ftdi_context *)
{
    return Call("ftdi_usb_close", {}, 0);
}
