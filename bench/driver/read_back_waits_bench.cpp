#include "chip_d2xx.h"
#include "sdr.h"
#include "sync_bitbang_writer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <deque>

namespace {

// A chip in synchronous bit-bang mode whose samples reach the host one latency period after the
// write that clocked them out. Time passes only while the host waits: a read that asks for samples
// not yet there waits for the first of them, and is counted.
class LatentChip final : public UsbPipe
{
public:
    int WriteData(const std::uint8_t *, int size) override
    {
        for (int i = 0; i < size; ++i)
            arrivals.push_back(now + 1);
        return size;
    }
    int ReadData(std::uint8_t *, int size) override
    {
        if (!arrivals.empty() && arrivals.front() > now) {
            now = arrivals.front();
            ++waits;
        }
        int taken = 0;
        while (taken < size && !arrivals.empty() && arrivals.front() <= now) {
            arrivals.pop_front();
            ++taken;
        }
        return taken;
    }

    long now = 0;
    long waits = 0;
    std::deque<long> arrivals;
};

// 1,000 frequency changes in a row; the waits for read-back they cost. With the event loop turning
// between changes, as when each change is one key, notch or network command; or back to back, as
// within one handler.
void ReadBackWaits(benchmark::State &state)
{
    const bool eventLoopBetween = state.range(0) != 0;
    constexpr int Changes = 1'000;
    long waits = 0;
    for (auto _ : state) {
        ChipD2xx<LatentChip> port;
        Tsdr sdr(nullptr, port);
        sdr.Initialize();
        QCoreApplication::processEvents();
        port.chip.waits = 0;
        for (int i = 0; i < Changes; ++i) {
            sdr.SetFrequency(7'000'000 + (i % 500) * 100);
            if (eventLoopBetween)
                QCoreApplication::processEvents();
        }
        waits += port.chip.waits;
    }
    state.counters["waits_per_change"] =
        static_cast<double>(waits) / static_cast<double>(state.iterations()) / Changes;
}
BENCHMARK(ReadBackWaits)->ArgName("event_loop_between")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace
