#include "Faceplate.h"
#include "d2xx.h"
#include "accepting_d2xx.h"
#include "program.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string_view>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

// One persistent loopback connection with plain blocking calls: it runs in a thread of its own,
// never in the server's.
class LoopbackClient
{
public:
    explicit LoopbackClient(quint16 port)
        : descriptor(::socket(AF_INET, SOCK_STREAM, 0))
    {
        const int on = 1;
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = ::connect(descriptor, reinterpret_cast<const sockaddr *>(&server), sizeof server) == 0;
    }
    ~LoopbackClient() { ::close(descriptor); }
    LoopbackClient(const LoopbackClient &) = delete;
    LoopbackClient &operator=(const LoopbackClient &) = delete;

    bool Connected() const { return connected; }

    // Sends the request and reads until its reply of `lines` lines is in; false when the reply
    // is not `expected` (when given) or the connection fails.
    bool RoundTrip(std::string_view request, int lines, std::string_view expected = {})
    {
        if (::send(descriptor, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
            return false;
        reply.clear();
        while (std::ranges::count(reply, '\n') < lines) {
            char buffer[4096];
            const ssize_t received = ::recv(descriptor, buffer, sizeof buffer, 0);
            if (received <= 0)
                return false;
            reply.append(buffer, static_cast<std::size_t>(received));
        }
        return expected.empty() || reply == expected;
    }

private:
    int descriptor;
    bool connected = false;
    std::string reply;
};

// The floor of every server here: a thread that only waits in poll(), receives and sends the
// same answer. Between two cores of a virtual machine its round trip is mostly the wake-ups of the
// two threads, which no server can save.
class BarePollServer
{
public:
    BarePollServer()
        : listener(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
            ::listen(listener, 1) == 0 &&
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        serving = std::thread([this] { Serve(); });
    }
    ~BarePollServer()
    {
        // Ends a wait in accept() when no client came.
        ::shutdown(listener, SHUT_RDWR);
        serving.join();
        ::close(listener);
    }
    BarePollServer(const BarePollServer &) = delete;
    BarePollServer &operator=(const BarePollServer &) = delete;

    quint16 port = 0;

private:
    void Serve() const
    {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0)
            return;
        const int on = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        char buffer[4096];
        for (;;) {
            pollfd readable{client, POLLIN, 0};
            ::poll(&readable, 1, -1);
            if (::recv(client, buffer, sizeof buffer, 0) <= 0)
                break;
            ::send(client, "14200000\n", 9, MSG_NOSIGNAL);
        }
        ::close(client);
    }

    int listener;
    std::thread serving;
};

// The stand-in receiver, timing when the last word reached it.
class TimedPort final : public AcceptingD2xx
{
public:
    FT_STATUS FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length, std::uint32_t *written) override
    {
        lastWrite = Clock::now();
        return AcceptingD2xx::FT_Write(handle, buffer, length, written);
    }

    Clock::time_point lastWrite;
};

// The real program, main window and all, with its server on a loopback port of the system's
// choosing.
class ServedPanel
{
public:
    ServedPanel()
        : program(port, folder.path(), Options(), folder.filePath(u"settings.ini"_s))
    {
        program.Start();
        ready = QTest::qWaitForWindowActive(&program.Form1) && program.NetworkControl.Server().IsListening();
    }
    quint16 Port() { return program.NetworkControl.Server().Port(); }
    bool Ready() const { return ready; }

    QTemporaryDir folder;
    TimedPort port;
    TProgram program;

private:
    bool ready = false;

    static TProgramOptions Options()
    {
        TProgramOptions options;
        options.rigctld = TRigctldEndpoint{QStringLiteral("127.0.0.1"), 0};
        return options;
    }
};

// Debian's rigctld with hamlib's dummy rig, on a free loopback port.
class ReferenceRigctld
{
public:
    ReferenceRigctld()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        process.start(QStringLiteral(RIGCTLD_EXECUTABLE),
                      {u"-m"_s, u"1"_s, u"-T"_s, u"127.0.0.1"_s, u"-t"_s, QString::number(port)});
        process.waitForStarted();
        // It listens a moment after it starts.
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!LoopbackClient(port).Connected() && Clock::now() < deadline)
            QThread::msleep(10);
    }
    ~ReferenceRigctld()
    {
        process.kill();
        process.waitForFinished();
    }

    quint16 port = 0;
    QProcess process;
};

// Runs the benchmark loop in a client thread while this (the server's) thread turns its event
// loop; `roundTrip` is one iteration's work.
void RunClient(benchmark::State &state, quint16 port, const std::function<bool(LoopbackClient &)> &roundTrip)
{
    QEventLoop loop;
    std::thread client([&] {
        LoopbackClient connection(port);
        if (!connection.Connected())
            state.SkipWithError("cannot connect");
        else
            for (auto _ : state)
                if (!roundTrip(connection)) {
                    state.SkipWithError("a reply was missing or wrong");
                    break;
                }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    client.join();
    state.SetItemsProcessed(state.iterations());
}

// f round trips over one connection: the program's server.
void GetFrequencyFromThePanel(benchmark::State &state)
{
    ServedPanel panel;
    if (!panel.Ready())
        return state.SkipWithError("the program did not come up serving");
    RunClient(state, panel.Port(), [](LoopbackClient &c) { return c.RoundTrip("f\n", 1, "14200000\n"); });
}
BENCHMARK(GetFrequencyFromThePanel)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The same against rigctld with the dummy rig.
void GetFrequencyFromRigctld(benchmark::State &state)
{
    ReferenceRigctld rigctld;
    RunClient(state, rigctld.port, [](LoopbackClient &c) { return c.RoundTrip("f\n", 1); });
}
BENCHMARK(GetFrequencyFromRigctld)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The same against the bare poll loop: what the machine itself allows.
void GetFrequencyFromABarePollLoop(benchmark::State &state)
{
    BarePollServer server;
    LoopbackClient connection(server.port);
    if (!connection.Connected())
        return state.SkipWithError("cannot connect");
    for (auto _ : state)
        if (!connection.RoundTrip("f\n", 1, "14200000\n")) {
            state.SkipWithError("a reply was missing or wrong");
            break;
        }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GetFrequencyFromABarePollLoop)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// F then f, as a tracker's Doppler step does, through the main window to the stand-in receiver.
void SetAndGetFrequencyOnThePanel(benchmark::State &state)
{
    ServedPanel panel;
    if (!panel.Ready())
        return state.SkipWithError("the program did not come up serving");
    panel.port.bytes = 0;
    bool odd = false;
    RunClient(state, panel.Port(), [&odd](LoopbackClient &c) {
        odd = !odd;
        return c.RoundTrip(odd ? "F 7074055\n" : "F 7074000.000000\n", 1, "RPRT 0\n") &&
               c.RoundTrip("f\n", 1, odd ? "7074055\n" : "7074000\n");
    });
    const auto pairs = std::max<benchmark::IterationCount>(state.iterations(), 1);
    state.counters["port_bytes_per_pair"] = static_cast<double>(panel.port.bytes) / static_cast<double>(pairs);
}
BENCHMARK(SetAndGetFrequencyOnThePanel)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// What the receiver had been sent when a notch's handling was over.
struct NotchArrival
{
    std::uint64_t bytes = 0;
    Clock::time_point lastWrite;
};

// A wheel notch while clients flood F+f pairs: from the moment the notch is posted (from another
// thread, so it arrives whatever the event loop is busy with) to its last word at the receiver. The mean is the benchmark's time; the 99th percentile and the worst notch
// are counters.
void WheelNotchWhileClientsFlood(benchmark::State &state)
{
    ServedPanel panel;
    if (!panel.Ready())
        return state.SkipWithError("the program did not come up serving");
    std::atomic<bool> flooding = true;
    std::atomic<std::uint64_t> floodPairs = 0;
    std::vector<std::thread> flood;
    for (int i = 0; i < state.range(0); ++i)
        flood.emplace_back([&, i] {
            LoopbackClient client(panel.Port());
            const std::string set = "F " + std::to_string(7'000'000 + i * 1'000) + "\n";
            while (flooding && client.RoundTrip(set, 1) && client.RoundTrip("f\n", 1))
                ++floodPairs;
        });
    // Flooding before the first notch.
    while (state.range(0) > 0 && floodPairs < 100)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    QObject receiver;
    QWidget *over = panel.program.Form1.LEDDisplay1;
    std::vector<double> delays;
    const std::uint64_t floodBefore = floodPairs;
    const auto floodStart = Clock::now();
    QEventLoop loop;
    std::thread input([&] {
        int direction = 120;
        for (auto _ : state) {
            std::promise<NotchArrival> handled;
            std::future<NotchArrival> arrival = handled.get_future();
            const auto posted = Clock::now();
            // Delivered when the event loop comes to it, as the window system's input is.
            QMetaObject::invokeMethod(
                &receiver,
                [&, direction] {
                    const std::uint64_t before = panel.port.bytes;
                    QWheelEvent notch(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, direction),
                                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(over, &notch);
                    handled.set_value({panel.port.bytes - before, panel.port.lastWrite});
                },
                Qt::QueuedConnection);
            const NotchArrival arrived = arrival.get();
            if (arrived.bytes != 4 * 52) {
                state.SkipWithError("the notch did not reach the receiver");
                break;
            }
            const double delay = std::chrono::duration<double>(arrived.lastWrite - posted).count();
            delays.push_back(delay);
            state.SetIterationTime(delay);
            direction = -direction;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    input.join();
    const double floodSeconds = std::chrono::duration<double>(Clock::now() - floodStart).count();
    std::ranges::sort(delays);
    if (!delays.empty()) {
        state.counters["p99_ms"] = delays[delays.size() * 99 / 100] * 1e3;
        state.counters["worst_ms"] = delays.back() * 1e3;
    }
    state.counters["flood_pairs_per_s"] = static_cast<double>(floodPairs - floodBefore) / floodSeconds;
    flooding = false;
    // The flood threads wait on their last replies: the event loop turns until they are in.
    std::thread joiner([&] {
        for (std::thread &t : flood)
            t.join();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    joiner.join();
}
BENCHMARK(WheelNotchWhileClientsFlood)
    ->Arg(0)
    ->Arg(4)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
