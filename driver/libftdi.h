#pragma once

#include <string>

struct ftdi_context;
struct ftdi_device_list;
struct libusb_device;

// The libftdi calls FtdiD2xx makes, one method for each, so that what it does with them can be
// checked without a chip. Each returns what the libftdi function of the same name returns.
class Libftdi
{
public:
    virtual ~Libftdi() = default;

    virtual ftdi_context *New() = 0;
    virtual void Free(ftdi_context *context) = 0;
    virtual int UsbFindAll(ftdi_context *context, ftdi_device_list **devices, int vendor, int product) = 0;
    virtual void ListFree(ftdi_device_list **devices) = 0;
    virtual int UsbOpenDev(ftdi_context *context, libusb_device *device) = 0;
    // Not libftdi's: the device's bus and ports as the kernel names it ("1-1.2"), from libusb.
    virtual std::string PortPath(libusb_device *device) = 0;
    virtual int SetLatencyTimer(ftdi_context *context, unsigned char latency) = 0;
    virtual int SetBitmode(ftdi_context *context, unsigned char mask, unsigned char mode) = 0;
    virtual int SetBaudrate(ftdi_context *context, int baudrate) = 0;
    virtual int WriteData(ftdi_context *context, const unsigned char *bytes, int size) = 0;
    virtual int ReadData(ftdi_context *context, unsigned char *bytes, int size) = 0;
    virtual int UsbClose(ftdi_context *context) = 0;
};

// The library itself.
class SystemLibftdi final : public Libftdi
{
public:
    ftdi_context *New() override;
    void Free(ftdi_context *context) override;
    int UsbFindAll(ftdi_context *context, ftdi_device_list **devices, int vendor, int product) override;
    void ListFree(ftdi_device_list **devices) override;
    int UsbOpenDev(ftdi_context *context, libusb_device *device) override;
    std::string PortPath(libusb_device *device) override;
    int SetLatencyTimer(ftdi_context *context, unsigned char latency) override;
    int SetBitmode(ftdi_context *context, unsigned char mask, unsigned char mode) override;
    int SetBaudrate(ftdi_context *context, int baudrate) override;
    int WriteData(ftdi_context *context, const unsigned char *bytes, int size) override;
    int ReadData(ftdi_context *context, unsigned char *bytes, int size) override;
    int UsbClose(ftdi_context *context) override;
};
