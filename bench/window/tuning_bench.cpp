#include "Faceplate.h"
#include "accepting_d2xx.h"
#include "program.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <optional>

namespace {

// A memory file with all 248 entries filled.
void WriteFullMemoryFile(const QString &folder)
{
    QByteArray text;
    for (int bank = 1; bank <= 8; ++bank) {
        text += "[bank" + QByteArray::number(bank) + "]\nbank_name" + QByteArray::number(bank) + "=Bank number " +
                QByteArray::number(bank) + "\n";
        for (int memory = 1; memory <= 15; ++memory)
            text += "mem" + QByteArray::number(memory) + "=" + QByteArray::number(7'000'000 + memory * 1000) +
                    "\nTag_mem" + QByteArray::number(memory) + "=Tag " + QByteArray::number(memory) + "\n";
        text += "\n";
    }
    QFile file(folder + QStringLiteral("/memos.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

// The program on the stand-in receiver, its main window up and active; its files in a folder
// of its own, the memory file full when asked.
struct RunningProgram
{
    explicit RunningProgram(benchmark::State &state, bool fullMemoryFile = false)
    {
        if (fullMemoryFile)
            WriteFullMemoryFile(folder.path());
        program.emplace(port, folder.path(), TProgramOptions{}, folder.filePath(QStringLiteral("settings.ini")));
        program->Start();
        if (!QTest::qWaitForWindowActive(&program->Form1))
            state.SkipWithError("the main window did not come up active");
        port.bytes = 0;
    }

    QTemporaryDir folder;
    AcceptingD2xx port;
    std::optional<TProgram> program;
};

// One notch of the wheel over the main window, from the event to the 208 bytes at the port.
void WheelNotch(benchmark::State &state)
{
    RunningProgram running(state);
    AcceptingD2xx &port = running.port;
    QWidget *over = running.program->Form1.LEDDisplay1;
    int direction = 120;
    for (auto _ : state) {
        QWheelEvent event(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, direction),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
        direction = -direction;
    }
    state.counters["bytes_per_notch"] = static_cast<double>(port.bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(WheelNotch)->Repetitions(9)->ReportAggregatesOnly(true);

// One press of the Up or Down arrow, whatever control has the focus, from the key event to the
// 208 bytes at the port.
void ArrowKey(benchmark::State &state)
{
    RunningProgram running(state);
    AcceptingD2xx &port = running.port;
    QWidget *focus = running.program->Form1.Mem[4];
    focus->setFocus(Qt::TabFocusReason);
    Qt::Key key = Qt::Key_Up;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(focus, &press);
        key = key == Qt::Key_Up ? Qt::Key_Down : Qt::Key_Up;
    }
    state.counters["bytes_per_key"] = static_cast<double>(port.bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(ArrowKey)->Repetitions(9)->ReportAggregatesOnly(true);

// One activation of the main window with a full memory file, from the event to the last byte.
void Activation(benchmark::State &state)
{
    RunningProgram running(state, true);
    AcceptingD2xx &port = running.port;
    TProgram &program = *running.program;
    for (auto _ : state) {
        // The focus comes from the editor: its activation, then the main window's.
        QEvent fromEditor(QEvent::WindowActivate);
        QApplication::sendEvent(&program.Form2, &fromEditor);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&program.Form1, &activate);
    }
    state.counters["bytes_per_activation"] = static_cast<double>(port.bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(Activation)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace
