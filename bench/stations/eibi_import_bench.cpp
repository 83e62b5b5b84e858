#include "eibi_sample.h"
#include "station_reader.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

void Import(benchmark::State &state, const QByteArray &schedule)
{
    const qsizetype stations = schedule.count('\n') - 1;
    for (auto _ : state) {
        TStationRead read = ReadStations(schedule);
        if (read.stations.size() != stations)
            state.SkipWithError("not every line read");
        benchmark::DoNotOptimize(read);
    }
    // Stations a second, to compare the generated schedule and the published one line for line.
    state.SetItemsProcessed(state.iterations() * stations);
    state.SetBytesProcessed(state.iterations() * schedule.size());
}

void ImportEibiSchedule(benchmark::State &state)
{
    Import(state, EibiSample(100'000));
}
BENCHMARK(ImportEibiSchedule)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Season B25 as EiBi publishes it, where the published lists are beside the project.
void ImportPublishedEibiSchedule(benchmark::State &state)
{
    QFile file(QStringLiteral(CORVEX_PUBLISHED_LISTS "/eibi/cdburgess75--SkyWave--sked-b25.csv"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no published EiBi schedule beside the project");
        return;
    }
    Import(state, file.readAll());
}
BENCHMARK(ImportPublishedEibiSchedule)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
