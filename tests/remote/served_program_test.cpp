#include "served_program_rig.h"
#include "rigctl_server.h"

#include <QEvent>

#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray Line(std::int32_t hertz)
{
    return QByteArray::number(hertz) + "\n";
}

} // namespace

using ServedProgramTest = ServedProgramRig;
using RobustnessTest = ServedProgramRig;

TEST_F(ServedProgramTest, FReadsWhatEveryWayOfTuningLeftOnTheReadout)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\n");
    StartServing();
    TestClient client;
    ASSERT_TRUE(client.Connect(ServerPort()));
    EXPECT_EQ(client.Exchange("f\n"), Line(14'200'000));

    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(client.Exchange("f\n"), Line(14'210'000));
    Click(Form1().DOWN);
    Click(Form1().DOWN);
    EXPECT_EQ(client.Exchange("f\n"), Line(14'190'000));
    Click(Form1().M_VFO);
    EXPECT_EQ(client.Exchange("f\n"), Line(7'050'000));
    Click(Form1().M_VFO);
    EXPECT_EQ(client.Exchange("f\n"), Line(14'190'000));
    // Activation from another form of the program resets the tuning.
    QEvent fromEditor(QEvent::WindowActivate);
    QApplication::sendEvent(&Form2(), &fromEditor);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Form1(), &activate);
    EXPECT_EQ(client.Exchange("f\n"), Line(14'200'000));
}

TEST_F(ServedProgramTest, FTunesAsTheUserDoesReadoutAndReceiverAlike)
{
    StartServing();
    TestClient client;
    ASSERT_TRUE(client.Connect(ServerPort()));
    EXPECT_EQ(client.Exchange("F 7074055.4\n"), "RPRT 0\n");
    EXPECT_EQ(Form1().frecuencia, 7'074'055);
    EXPECT_DOUBLE_EQ(Form1().LEDDisplay1->Value(), 7074.055);
    EXPECT_EQ(SentFrequency(), 7'074'055);
    // The wheel goes on from there.
    Wheel(Form1().LEDDisplay1, -120);
    EXPECT_EQ(SentFrequency(), 7'064'055);

    port.ClearCalls();
    EXPECT_EQ(client.Exchange("F 70000001\n"), "RPRT -1\n");
    EXPECT_EQ(Form1().frecuencia, 7'064'055);
    EXPECT_TRUE(port.Writes().empty());
}

TEST_F(ServedProgramTest, InMemoryModeFIsDroppedOnTheWayBackToVfoMode)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\n");
    StartServing();
    Click(Form1().M_VFO);
    TestClient client;
    ASSERT_TRUE(client.Connect(ServerPort()));
    EXPECT_EQ(client.Exchange("F 7074000 f\n", 2), "RPRT 0\n7074000\n");
    EXPECT_TRUE(Form1().modo_memoria);
    EXPECT_EQ(SentFrequency(), 7'074'000);
    EXPECT_EQ(Form1().memorias(1, 1).freq.str(), u"7050000"_s);

    Click(Form1().M_VFO);
    EXPECT_EQ(client.Exchange("f\n"), Line(14'200'000));
    EXPECT_EQ(SentFrequency(), 14'200'000);
}

TEST_F(ServedProgramTest, ClientsSeeEachOthersChanges)
{
    StartServing();
    TestClient tracker;
    TestClient logger;
    TestClient decoder;
    for (TestClient *client : {&tracker, &logger, &decoder})
        ASSERT_TRUE(client->Connect(ServerPort()));
    EXPECT_EQ(tracker.Exchange("F 145800000\n"), "RPRT -1\n");
    EXPECT_EQ(tracker.Exchange("F 28074000\n"), "RPRT 0\n");
    EXPECT_EQ(decoder.Exchange("M PKTUSB 3000\n"), "RPRT 0\n");
    EXPECT_EQ(logger.Exchange("+f +m +v\n", 10),
              "get_freq:\nFrequency: 28074000\nRPRT 0\n"
              "get_mode:\nMode: PKTUSB\nPassband: 3000\nRPRT 0\n"
              "get_vfo:\nVFO: VFOA\nRPRT 0\n");
    EXPECT_EQ(tracker.Exchange("m\n", 2), "PKTUSB\n3000\n");
    EXPECT_EQ(Server().ClientCount(), 3);
}

TEST_F(RobustnessTest, ALineOfMoreThan4KiBDropsItsClient)
{
    StartServing();
    TestClient longest;
    ASSERT_TRUE(longest.Connect(ServerPort()));
    EXPECT_EQ(longest.Exchange("f" + QByteArray(4095, ' ') + "\n"), Line(14'200'000));

    TestClient endless;
    ASSERT_TRUE(endless.Connect(ServerPort()));
    endless.socket.write(QByteArray(4097, 'f'));
    EXPECT_TRUE(endless.WaitUntilClosed());
    EXPECT_TRUE(endless.Take().isEmpty());
    EXPECT_TRUE(longest.Connected());
    ExpectThePanelStillServes();
}

TEST_F(RobustnessTest, AMegabyteOfRandomBytesGetsErrorRepliesAndHarmsNothing)
{
    StartServing();
    // Random bytes, except the two that would end the conversation early.
    std::mt19937 random(11);
    QByteArray garbage(1 << 20, '\0');
    for (char &byte : garbage) {
        byte = static_cast<char>(random() & 0xFF);
        if (byte == 'q' || byte == 'Q')
            byte = '?';
    }
    TestClient client;
    ASSERT_TRUE(client.Connect(ServerPort()));
    client.socket.write(garbage);
    // A line end closes the last random line; the f after it is answered once all before it is.
    client.socket.write("\nf\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.received.endsWith("\n14200000\n") || !client.Connected(); },
                                NetworkTimeout));
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(client.received.contains("RPRT -11\n"));
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    ExpectThePanelStillServes();
}

TEST_F(RobustnessTest, FortyClientsThirtyTwoServedTheRestClosedAtOnce)
{
    StartServing();
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 40; ++i) {
        clients.push_back(std::make_unique<TestClient>());
        clients.back()->socket.connectToHost(QHostAddress::LocalHost, ServerPort());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == TRigctlServer::MaxClients; }, NetworkTimeout));
    auto inState = [&](QAbstractSocket::SocketState state) {
        return std::ranges::count_if(clients, [&](const auto &c) { return c->socket.state() == state; });
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return inState(QAbstractSocket::ConnectedState) == TRigctlServer::MaxClients &&
                   inState(QAbstractSocket::UnconnectedState) == 8;
        },
        NetworkTimeout));
    int answered = 0;
    for (const auto &client : clients)
        if (client->Connected())
            answered += client->Exchange("v\n") == "VFOA\n";
    EXPECT_EQ(answered, TRigctlServer::MaxClients);

    // A place given up is taken again.
    for (const auto &client : clients)
        if (client->Connected()) {
            client->socket.disconnectFromHost();
            break;
        }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == TRigctlServer::MaxClients - 1; },
                                NetworkTimeout));
    ExpectThePanelStillServes();
}

TEST_F(RobustnessTest, AClientThatNeverReadsIsDroppedOnce64KiBOfRepliesWait)
{
    StartServing();
    SmallBufferPeer silent;
    ASSERT_TRUE(silent.Connect(ServerPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 1; }, NetworkTimeout));
    // A few at a time, so that the kernel's queue for it is seen as it fills.
    const QByteArray requests = QByteArray("\\dump_caps\n").repeated(8);
    qsizetype mostQueued = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        mostQueued = std::max(mostQueued, silent.QueuedAtTheServer());
        return !silent.Send(requests) || Server().ClientCount() == 0;
    }, NetworkTimeout));
    EXPECT_EQ(Server().ClientCount(), 0);
    // Beside the server's own 64 KiB, the kernel holds no more than as much again for it.
    EXPECT_GT(mostQueued, 0);
    EXPECT_LE(mostQueued, 64 * 1024);
    ExpectThePanelStillServes();
}

// After q the replies still waiting in the server's queue go out as the client reads, then the
// connection ends.
TEST_F(RobustnessTest, QuitBehindRepliesTheSocketCouldNotTakeEndsOnceTheyAreRead)
{
    StartServing();
    SmallBufferPeer reader;
    ASSERT_TRUE(reader.Connect(ServerPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 1; }, NetworkTimeout));
    const QByteArray requests = QByteArray("\\dump_caps\n").repeated(120) + "q\n";
    ASSERT_EQ(reader.Write(requests), requests.size());
    // 55 KiB of replies: about half the kernel holds, the rest waits in the server.
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.QueuedAtTheServer() > 16 * 1024; }, NetworkTimeout));
    QByteArray received;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        received += reader.Read(4096);
        return reader.Ended();
    }, NetworkTimeout));
    EXPECT_EQ(received.count("\nRPRT 0\n"), 121);
    EXPECT_TRUE(received.endsWith("RPRT 0\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 0; }, NetworkTimeout));
    ExpectThePanelStillServes();
}

// Replies that the socket cannot take at once wait in the server's queue and go out as the client
// reads: a slow reader gets every reply whole and in order, and the panel goes on meanwhile.
TEST_F(RobustnessTest, ASlowReaderGetsEveryReplyInOrderWhileThePanelGoesOn)
{
    StartServing();
    SmallBufferPeer slow;
    ASSERT_TRUE(slow.Connect(ServerPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 1; }, NetworkTimeout));
    QByteArray requests, expected;
    for (int i = 0; i < 6'000; ++i) {
        const QByteArray hertz = QByteArray::number(7'000'000 + i);
        requests += "F " + hertz + "\nf\n";
        expected += "RPRT 0\n" + hertz + "\n";
    }
    // Requests go out while fewer than 40 KiB of their replies are unread: more than the sockets
    // between them hold (each small reply takes far more of the kernel's buffer than its bytes),
    // fewer than the server keeps for a client beyond that. Replies are read only to let more
    // requests go, until `readUntil` bytes are wanted.
    const double replyPerRequestByte = double(expected.size()) / double(requests.size());
    qsizetype requested = 0;
    QByteArray received;
    const auto exchange = [&](qsizetype sendUntil, qsizetype readUntil) {
        const auto unread = [&] { return qsizetype(double(requested) * replyPerRequestByte) - received.size(); };
        return QTest::qWaitFor([&] {
            while (requested < sendUntil && unread() < 40 * 1024) {
                const qsizetype taken = slow.Write(requests.mid(requested, std::min<qsizetype>(1024, sendUntil - requested)));
                if (taken <= 0)
                    break;
                requested += taken;
            }
            if (received.size() < readUntil || (requested < sendUntil && unread() >= 40 * 1024))
                received += slow.Read(4096);
            return requested >= sendUntil && received.size() >= readUntil;
        }, NetworkTimeout);
    };
    ASSERT_TRUE(exchange(requests.size() / 2, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form1().frecuencia == 7'002'999; }, NetworkTimeout));
    ExpectThePanelStillServes();
    EXPECT_TRUE(exchange(requests.size(), expected.size()));
    EXPECT_EQ(received, expected);
}

TEST_F(RobustnessTest, AClientThatVanishesWithRepliesOnTheirWayHarmsNothing)
{
    StartServing();
    SmallBufferPeer vanishing;
    ASSERT_TRUE(vanishing.Connect(ServerPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 1; }, NetworkTimeout));
    // Gone with a reset while the replies to 60 requests are on their way to it.
    ASSERT_TRUE(vanishing.Send(QByteArray("\\dump_caps\n").repeated(60)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return vanishing.Unread() > 0; }, NetworkTimeout));
    ASSERT_EQ(Server().ClientCount(), 1);
    vanishing.Vanish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server().ClientCount() == 0; }, NetworkTimeout));
    ExpectThePanelStillServes();
}
