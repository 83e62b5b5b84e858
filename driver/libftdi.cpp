#include "libftdi.h"

#include <ftdi.h>
#include <libusb.h>

#include <cstdint>

ftdi_context *SystemLibftdi::New()
{
    return ftdi_new();
}

void SystemLibftdi::Free(ftdi_context *context)
{
    ftdi_free(context);
}

int SystemLibftdi::UsbFindAll(ftdi_context *context, ftdi_device_list **devices, int vendor, int product)
{
    return ftdi_usb_find_all(context, devices, vendor, product);
}

void SystemLibftdi::ListFree(ftdi_device_list **devices)
{
    ftdi_list_free(devices);
}

int SystemLibftdi::UsbOpenDev(ftdi_context *context, libusb_device *device)
{
    return ftdi_usb_open_dev(context, device);
}

std::string SystemLibftdi::PortPath(libusb_device *device)
{
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    std::string path = std::to_string(libusb_get_bus_number(device));
    for (int i = 0; i < depth; ++i)
        path += (i == 0 ? '-' : '.') + std::to_string(ports[i]);
    return path;
}

int SystemLibftdi::SetLatencyTimer(ftdi_context *context, unsigned char latency)
{
    return ftdi_set_latency_timer(context, latency);
}

int SystemLibftdi::SetBitmode(ftdi_context *context, unsigned char mask, unsigned char mode)
{
    return ftdi_set_bitmode(context, mask, mode);
}

int SystemLibftdi::SetBaudrate(ftdi_context *context, int baudrate)
{
    return ftdi_set_baudrate(context, baudrate);
}

int SystemLibftdi::WriteData(ftdi_context *context, const unsigned char *bytes, int size)
{
    return ftdi_write_data(context, bytes, size);
}

int SystemLibftdi::ReadData(ftdi_context *context, unsigned char *bytes, int size)
{
    return ftdi_read_data(context, bytes, size);
}

int SystemLibftdi::UsbClose(ftdi_context *context)
{
    return ftdi_usb_close(context);
}
