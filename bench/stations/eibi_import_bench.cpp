#include "eibi_sample.h"
#include "station_reader.h"

#include <benchmark/benchmark.h>

namespace {

void ImportEibiSchedule(benchmark::State &state)
{
    const QByteArray schedule = EibiSample(100'000);
    for (auto _ : state) {
        TStationRead read = ReadStations(schedule);
        if (read.stations.size() != 100'000)
            state.SkipWithError("not every line read");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(state.iterations() * schedule.size());
}
BENCHMARK(ImportEibiSchedule)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
