#include "accepting_d2xx.h"
#include "sdr.h"

#include <benchmark/benchmark.h>

namespace {

void SetFrequency(benchmark::State &state)
{
    AcceptingD2xx port;
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


