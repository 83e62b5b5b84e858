#include "dial_stations.h"
#include "eibi_sample.h"
#include "station_reader.h"

#include <QTimeZone>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

// What is on the air at the dial among 100,000 stations, the dial swept over the shortwave
// bands kilohertz by kilohertz; "worst_us" is the slowest single lookup of the sweep.
void DialLookupOver100000Stations(benchmark::State &state)
{
    TDialStations dial;
    dial.SetStations(ReadStations(EibiSample(100'000)).stations);
    const QDateTime now(QDate(2024, 1, 1), QTime(19, 30), QTimeZone::utc());
    qint64 hertz = 2'300'000;
    double worst = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        QStringList named = dial.OnAirNear(hertz, now);
        worst = std::max(worst, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count());
        benchmark::DoNotOptimize(named);
        hertz = hertz >= 26'300'000 ? 2'300'000 : hertz + 1'000;
    }
    state.counters["worst_us"] = worst;
}
BENCHMARK(DialLookupOver100000Stations)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); });

} // namespace
