#include "emulated_usb.h"
#include "ftdi_d2xx.h"
#include "sdr.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Passes every call on and keeps the longest time one of them held the calling thread.
class TimedD2xx final : public D2xx
{
public:
    explicit TimedD2xx(D2xx &port)
        : port(port)
    {
    }
    FT_STATUS FT_Open(int index, FT_HANDLE *handle) override
    {
        return Timed([&] { return port.FT_Open(index, handle); });
    }
    FT_STATUS FT_OpenEx(const std::string &path, FT_HANDLE *handle) override
    {
        return Timed([&] { return port.FT_OpenEx(path, handle); });
    }
    FT_STATUS FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode) override
    {
        return Timed([&] { return port.FT_SetBitMode(handle, mask, mode); });
    }
    FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t rate) override
    {
        return Timed([&] { return port.FT_SetBaudRate(handle, rate); });
    }
    FT_STATUS FT_Write(FT_HANDLE handle, const void *bytes, std::uint32_t length, std::uint32_t *written) override
    {
        return Timed([&] { return port.FT_Write(handle, bytes, length, written); });
    }
    FT_STATUS FT_Close(FT_HANDLE handle) override
    {
        return Timed([&] { return port.FT_Close(handle); });
    }

    Clock::duration longest{};

private:
    template <typename Call>
    FT_STATUS Timed(Call call)
    {
        const Clock::time_point start = Clock::now();
        const FT_STATUS status = call();
        longest = std::max(longest, Clock::now() - start);
        return status;
    }

    D2xx &port;
};

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// 1,000 frequency changes through the real libftdi and libusb to an emulated FT232R, the event
// loop turning after each as it does between the user's steps: USB transfers per change against
// the least the protocol allows (four writes, one read of the samples), and the longest time one
// call to the chip held the thread. Time here is the host's alone: the emulated chip answers at
// once, where a real one adds its latency timer (1 ms) to each read.
void BM_ThousandChangesOnTheEmulatedChip(benchmark::State &state)
{
    TEmulatedUsb usb;
    TEmulatedFt232r &chip = usb.Plug();
    constexpr int Changes = 1000;
    for (auto _ : state) {
        FtdiD2xx port;
        TimedD2xx timed(port);
        {
            Tsdr sdr(nullptr, timed);
            sdr.Initialize();
            QCoreApplication::processEvents();
            timed.longest = {};
            chip.Clear();
            for (int i = 0; i < Changes; ++i) {
                sdr.SetFrequency(7'000'000 + i * 10);
                QCoreApplication::processEvents();
            }
            state.counters["out_per_change"] = double(chip.OutTransfers()) / Changes;
            state.counters["in_per_change"] = double(chip.InTransfers()) / Changes;
            state.counters["longest_call_ms"] = Milliseconds(timed.longest);
        }
    }
    state.counters["least_out"] = 4;
    state.counters["least_in"] = 1;
}
BENCHMARK(BM_ThousandChangesOnTheEmulatedChip)->Unit(benchmark::kMillisecond)->Iterations(3);

// A chip that stops taking bytes: how long the change that meets it holds the thread.
void BM_AChangeMeetingAWedgedChip(benchmark::State &state)
{
    TEmulatedUsb usb;
    TEmulatedFt232r &chip = usb.Plug();
    FtdiD2xx port;
    Tsdr sdr(nullptr, port);
    sdr.Initialize();
    QCoreApplication::processEvents();
    chip.SetTakesBytes(false);
    Clock::duration longest{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        sdr.SetFrequency(7'100'000);
        longest = std::max(longest, Clock::now() - start);
        QCoreApplication::processEvents();
    }
    state.counters["longest_change_ms"] = Milliseconds(longest);
}
BENCHMARK(BM_AChangeMeetingAWedgedChip)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
