#include "sdr.h"

#include <benchmark/benchmark.h>

namespace {

// A port that takes every word and does nothing with it: what is left is the driver's own work.
class NullPort final : public D2xx
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

void SetFrequency(benchmark::State &state)
{
    NullPort port;
    Tsdr sdr(nullptr, port);
    sdr.Initialize();
    std::int32_t frequency = 7'000'000;
    port.bytes = 0;
    for (auto _ : state) {
        sdr.SetFrequency(frequency);
        frequency = frequency < 29'000'000 ? frequency + 1'001 : 7'000'000;
    }
    state.counters["bytes_per_change"] = static_cast<double>(port.bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(SetFrequency)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
