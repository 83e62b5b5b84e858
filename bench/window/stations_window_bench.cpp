#include "accepting_d2xx.h"
#include "eibi_sample.h"
#include "program.h"
#include "station_lists.h"
#include "stations_window.h"

#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <optional>

namespace {

constexpr int Stations = 100'000;

// The program with one kept list of 100,000 EiBi-shaped stations, its main window up.
struct ProgramWithStations
{
    explicit ProgramWithStations(benchmark::State &state)
    {
        const QString stations = folder.filePath(QStringLiteral("stations"));
        QDir().mkpath(stations);
        QFile list(stations + QStringLiteral("/sked-b25.csv"));
        list.open(QIODevice::WriteOnly);
        list.write(EibiSample(Stations));
        list.close();
        program.emplace(port, folder.path(), TProgramOptions{}, folder.filePath(QStringLiteral("settings.ini")),
                        nullptr, stations);
        program->Start();
        if (!QTest::qWaitForWindowActive(&program->Form1))
            state.SkipWithError("the main window did not come up active");
    }

    QTemporaryDir folder;
    AcceptingD2xx port;
    std::optional<TProgram> program;
};

// Ctrl+L with 100,000 stations kept: the window made and its first frame drawn, while the list is
// read on a thread of its own ("opened"); then until the stations are in the table ("filled").
void OpenStationsWindow(benchmark::State &state)
{
    ProgramWithStations running(state);
    for (auto _ : state) {
        state.PauseTiming();
        delete &running.program->Stations->Window();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        running.program->Stations->ShowAction->trigger();
        TStationsWindow &window = running.program->Stations->Window();
        window.repaint();
        if (state.range(0) == 1 && !QTest::qWaitFor([&window] { return !window.Loading(); }, 20'000))
            state.SkipWithError("the stations never came");
        benchmark::DoNotOptimize(window.Table.rowCount());
    }
}
BENCHMARK(OpenStationsWindow)->ArgName("filled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

// One keystroke in the search box over 100,000 stations, alternating between a text that keeps a
// few and one that keeps none, each time with the table drawn.
void SearchKeystroke(benchmark::State &state)
{
    ProgramWithStations running(state);
    TStationsWindow &window = running.program->Stations->Window();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitFor([&window] { return !window.Loading(); }, 20'000))
        state.SkipWithError("the stations window did not come up with its stations");
    bool few = false;
    for (auto _ : state) {
        few = !few;
        window.Search->setText(few ? QStringLiteral("greece 12") : QStringLiteral("greece 12x"));
        window.View->repaint();
    }
    state.counters["shown"] = window.Table.rowCount();
}
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
