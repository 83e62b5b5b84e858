#pragma once

#include "libftdi.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// libftdi over chips that are not there. `chips` are attached, listed in the order they are
// found; every call is recorded as the libftdi function's name and its arguments; any call can be
// made to return a chosen result; a chip in bit-bang mode samples its pins for every byte written
// and reads return those samples.
class FakeLibftdi final : public Libftdi
{
public:
    int chips = 0;
    bool libusbStarts = true;
    // What a call returns instead of succeeding, by the libftdi function's name.
    std::map<std::string, int> results;

    // The calls so far, "ftdi_set_bitmode 255 4", "ftdi_write_data 52", ...
    const std::vector<std::string> &Calls() const { return calls; }
    void ClearCalls() { calls.clear(); }
    // The bytes of each write, in order.
    const std::vector<std::vector<std::uint8_t>> &Written() const { return written; }

    ftdi_context *New() override;
    void Free(ftdi_context *context) override;
    int UsbFindAll(ftdi_context *context, ftdi_device_list **devices, int vendor, int product) override;
    void ListFree(ftdi_device_list **devices) override;
    int UsbOpenDev(ftdi_context *context, libusb_device *device) override;
    // Chip n (from 0) sits in port "1-<n+1>"; not recorded, as no libftdi call asks for it.
    std::string PortPath(libusb_device *device) override;
    int SetLatencyTimer(ftdi_context *context, unsigned char latency) override;
    int SetBitmode(ftdi_context *context, unsigned char mask, unsigned char mode) override;
    int SetBaudrate(ftdi_context *context, int baudrate) override;
    int WriteData(ftdi_context *context, const unsigned char *bytes, int size) override;
    int ReadData(ftdi_context *context, unsigned char *bytes, int size) override;
    int UsbClose(ftdi_context *context) override;

private:
    // Records the call; its chosen result if it has one, else `success`.
    int Call(const std::string &name, const std::string &arguments, int success);

    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> written;
    std::deque<std::uint8_t> samples;
    std::vector<char> deviceTokens = std::vector<char>(16); // stand-ins for the libusb devices
};
