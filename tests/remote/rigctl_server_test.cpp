#include "case_names.h"
#include "fake_tuning.h"
#include "rigctl_server.h"
#include "test_clients.h"

#include <QNetworkInterface>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct PeerCase
{
    const char *name;
    QString peer;
    TSubnets allowed;
    bool admitted;
};

void PrintTo(const PeerCase &c, std::ostream *out)
{
    *out << c.name;
}

class Peers : public testing::TestWithParam<PeerCase>
{
};

TEST_P(Peers, LoopbackAlwaysOthersOnlyFromAllowedSubnets)
{
    EXPECT_EQ(IsPeerAllowed(QHostAddress(GetParam().peer), GetParam().allowed), GetParam().admitted);
}

const TSubnets Lan{QHostAddress::parseSubnet(u"192.168.1.0/24"_s)};
const TSubnets UniqueLocal{QHostAddress::parseSubnet(u"fd00::/8"_s)};

INSTANTIATE_TEST_SUITE_P(
    Addresses, Peers,
    testing::Values(PeerCase{"IPv4 loopback", u"127.0.0.1"_s, {}, true},
                    PeerCase{"anywhere in 127/8", u"127.4.5.6"_s, {}, true},
                    PeerCase{"IPv6 loopback", u"::1"_s, {}, true},
                    PeerCase{"mapped IPv4 loopback", u"::ffff:127.0.0.1"_s, {}, true},
                    PeerCase{"LAN host not allowed", u"192.168.1.20"_s, {}, false},
                    PeerCase{"LAN host allowed", u"192.168.1.20"_s, Lan, true},
                    PeerCase{"mapped LAN host allowed", u"::ffff:192.168.1.20"_s, Lan, true},
                    PeerCase{"host beside the subnet", u"192.168.2.20"_s, Lan, false},
                    PeerCase{"mapped host beside the subnet", u"::ffff:192.168.2.20"_s, Lan, false},
                    PeerCase{"IPv6 host allowed", u"fd12::5"_s, UniqueLocal, true},
                    PeerCase{"IPv6 host not allowed", u"2001:db8::5"_s, UniqueLocal, false},
                    PeerCase{"IPv4 against an IPv6 subnet", u"10.0.0.1"_s, UniqueLocal, false},
                    PeerCase{"unspecified address", u"0.0.0.0"_s, {}, false}),
    CaseName<PeerCase>);

TEST(EndpointText, IPv6InBrackets)
{
    EXPECT_EQ(EndpointText(QHostAddress(u"127.0.0.1"_s), 4532), u"127.0.0.1:4532"_s);
    EXPECT_EQ(EndpointText(QHostAddress(u"::1"_s), 4600), u"[::1]:4600"_s);
    EXPECT_EQ(EndpointText(QHostAddress(u"0.0.0.0"_s), 4533), u"0.0.0.0:4533"_s);
}

TEST(ListenFailure, APortInUseIsNamedInOneText)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost));
    FakeTuning tuning;
    TRigctlServer server(tuning);
    EXPECT_FALSE(server.Listen(QHostAddress::LocalHost, holder.serverPort()));
    EXPECT_FALSE(server.IsListening());
    const QString port = QString::number(holder.serverPort());
    EXPECT_EQ(server.ListenFailure(), u"rigctld: cannot listen on 127.0.0.1:"_s + port + u" - address in use"_s);
}

TEST(ListenFailure, AnAddressOfNoInterfaceIsNamedInOneText)
{
    FakeTuning tuning;
    TRigctlServer server(tuning);
    // TEST-NET-3, documentation only: no machine has it.
    EXPECT_FALSE(server.Listen(QHostAddress(u"203.0.113.7"_s), 4532));
    EXPECT_EQ(server.ListenFailure(), u"rigctld: cannot listen on 203.0.113.7:4532 - address not available"_s);

    // A later success clears it.
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    EXPECT_TRUE(server.ListenFailure().isEmpty());
    EXPECT_NE(server.Port(), 0);
}

TEST(Server, QuitIsAnsweredAndTheConnectionClosed)
{
    FakeTuning tuning;
    TRigctlServer server(tuning);
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    TestClient client;
    ASSERT_TRUE(client.Connect(server.Port()));
    EXPECT_EQ(client.Exchange("f\nq\n", 2), "14200000\nRPRT 0\n");
    EXPECT_TRUE(client.WaitUntilClosed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.ClientCount() == 0; }, NetworkTimeout));
}

TEST(Server, AFailureWhileAnsweringDropsThatClientOnly)
{
    FailingTuning tuning;
    TRigctlServer server(tuning);
    QStringList failures;
    server.OnFailure = [&](const QString &text) { failures << text; };
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    TestClient failing;
    TestClient other;
    ASSERT_TRUE(failing.Connect(server.Port()));
    ASSERT_TRUE(other.Connect(server.Port()));

    failing.socket.write("F 7074000\n");
    EXPECT_TRUE(failing.WaitUntilClosed());
    EXPECT_TRUE(failing.Take().isEmpty());
    EXPECT_EQ(failures, QStringList{u"rigctld: Integer overflow"_s});
    EXPECT_EQ(other.Exchange("f\n"), "14200000\n");
    EXPECT_EQ(server.ClientCount(), 1);
}

TEST(Server, ClosingDropsEveryClientAndListeningAgainServesNewOnes)
{
    FakeTuning tuning;
    TRigctlServer server(tuning);
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    TestClient first;
    TestClient second;
    ASSERT_TRUE(first.Connect(server.Port()));
    ASSERT_TRUE(second.Connect(server.Port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.ClientCount() == 2; }, NetworkTimeout));

    server.Close();
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(server.ClientCount(), 0);
    EXPECT_TRUE(first.WaitUntilClosed());
    EXPECT_TRUE(second.WaitUntilClosed());

    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    TestClient third;
    ASSERT_TRUE(third.Connect(server.Port()));
    EXPECT_EQ(third.Exchange("v\n"), "VFOA\n");
}

// A peer that reaches the server through a non-loopback address of this machine.
std::optional<QHostAddress> OwnNonLoopbackIPv4()
{
    for (const QHostAddress &address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address;
    return std::nullopt;
}

TEST(Server, PeersOutsideTheAllowedSubnetsAreClosedAtOnce)
{
    const std::optional<QHostAddress> own = OwnNonLoopbackIPv4();
    if (!own)
        GTEST_SKIP() << "this machine has no IPv4 address besides loopback";
    FakeTuning tuning;
    TRigctlServer server(tuning);
    // Every address, both families: IPv4 peers arrive as ::ffff:a.b.c.d.
    ASSERT_TRUE(server.Listen(QHostAddress::Any, 0));

    // Closed so soon that the client may never see itself connected.
    TestClient stranger;
    ASSERT_TRUE(stranger.socket.bind(*own));
    stranger.socket.connectToHost(*own, server.Port());
    EXPECT_TRUE(stranger.WaitUntilClosed());
    EXPECT_TRUE(stranger.Take().isEmpty());
    EXPECT_EQ(server.ClientCount(), 0);

    TestClient local;
    ASSERT_TRUE(local.Connect(server.Port()));
    EXPECT_EQ(local.Exchange("f\n"), "14200000\n");

    server.AllowSubnets({own->toString() + u"/32"_s});
    TestClient friendly;
    ASSERT_TRUE(friendly.Connect(server.Port(), *own, *own));
    EXPECT_EQ(friendly.Exchange("f\n"), "14200000\n");
}

} // namespace
