#include "served_program_rig.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>

using namespace Qt::Literals::StringLiterals;

namespace {

// Passes a client's bytes to the server and back, keeping what the client sent.
class RecordingRelay
{
public:
    explicit RecordingRelay(quint16 serverPort)
    {
        QObject::connect(&listener, &QTcpServer::newConnection, [this, serverPort] {
            QTcpSocket *client = listener.nextPendingConnection();
            auto *server = new QTcpSocket(client);
            QObject::connect(client, &QTcpSocket::readyRead, server, [this, client, server] {
                const QByteArray bytes = client->readAll();
                fromClient += bytes;
                server->write(bytes);
            });
            QObject::connect(server, &QTcpSocket::readyRead, client,
                             [client, server] { client->write(server->readAll()); });
            QObject::connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
            server->connectToHost(QHostAddress::LocalHost, serverPort);
        });
        listener.listen(QHostAddress::LocalHost);
    }
    quint16 Port() const { return listener.serverPort(); }

    QTcpServer listener;
    QByteArray fromClient;
};

} // namespace

// Debian's rigctl with hamlib's NET rigctl backend (model 2), the way WSJT-X, fldigi and CQRLOG
// reach a rig. Each check runs a new rigctl: hamlib answers a get after a set from its cache.
class RigctlPeerTest : public ServedProgramRig
{
protected:
    // What rigctl prints for the commands, sent to `port` (the server's own unless given).
    QString Rigctl(const QStringList &commands, std::optional<quint16> through = std::nullopt)
    {
        QProcess rigctl;
        QSignalSpy finished(&rigctl, &QProcess::finished);
        const QString address = u"127.0.0.1:"_s + QString::number(through.value_or(ServerPort()));
        rigctl.start(QStringLiteral(RIGCTL_EXECUTABLE), QStringList{u"-m"_s, u"2"_s, u"-r"_s, address} + commands);
        // The server answers from this thread: the wait keeps its event loop turning.
        EXPECT_TRUE(finished.wait(30'000)) << commands.join(u' ').toStdString();
        EXPECT_EQ(rigctl.exitCode(), 0) << rigctl.readAllStandardError().toStdString();
        return QString::fromLocal8Bit(rigctl.readAllStandardOutput());
    }
};

TEST_F(RigctlPeerTest, SetFrequencyTunesTheReceiverAndANewRigctlReadsIt)
{
    StartServing();
    EXPECT_EQ(Rigctl({u"F"_s, u"7074055"_s}), QString());
    EXPECT_EQ(SentFrequency(), 7'074'055);
    EXPECT_EQ(Form1().frecuencia, 7'074'055);
    EXPECT_EQ(Rigctl({u"f"_s}), u"7074055\n"_s);
}

TEST_F(RigctlPeerTest, AFrequencyOutsideTheRangeIsAnInvalidParameterAndChangesNothing)
{
    StartServing();
    EXPECT_TRUE(Rigctl({u"F"_s, u"30000"_s}).contains(u"Invalid parameter"_s));
    EXPECT_TRUE(port.Writes().empty());
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(Rigctl({u"f"_s}), u"14200000\n"_s);
}

TEST_F(RigctlPeerTest, ModeIsKeptForTheNextClient)
{
    StartServing();
    EXPECT_EQ(Rigctl({u"M"_s, u"PKTUSB"_s, u"3000"_s}), QString());
    EXPECT_EQ(Rigctl({u"m"_s}), u"PKTUSB\n3000\n"_s);
    EXPECT_EQ(Rigctl({u"M"_s, u"USB"_s, u"2400"_s}), QString());
    EXPECT_EQ(Rigctl({u"m"_s}), u"USB\n2400\n"_s);
    EXPECT_TRUE(port.Writes().empty());
}

TEST_F(RigctlPeerTest, NoTransmitterPttOffOnlyAndSplitOffOnly)
{
    StartServing();
    EXPECT_EQ(Rigctl({u"t"_s}), u"0\n"_s);
    EXPECT_TRUE(Rigctl({u"T"_s, u"1"_s}).contains(u"Feature not available"_s));
    EXPECT_EQ(Rigctl({u"T"_s, u"0"_s}), QString());
    EXPECT_EQ(Rigctl({u"s"_s}), u"0\nVFOA\n"_s);
    EXPECT_TRUE(Rigctl({u"V"_s, u"VFOB"_s}).contains(u"Invalid parameter"_s));
    EXPECT_EQ(Rigctl({u"get_powerstat"_s}), u"1\n"_s);
}

TEST_F(RigctlPeerTest, TheOpeningAsksNothingOfAVfoB)
{
    StartServing();
    RecordingRelay relay(ServerPort());
    EXPECT_EQ(Rigctl({u"f"_s}, relay.Port()), u"14200000\n"_s);
    // The order of the opening is the client's own: hamlib 4.6 asks \\get_powerstat first.
    const QList<QByteArray> sent = relay.fromClient.split('\n');
    const qsizetype asked = sent.indexOf("f");
    ASSERT_GE(asked, 2) << relay.fromClient.toStdString();
    const QList<QByteArray> opening = sent.first(asked);
    EXPECT_TRUE(opening.contains("\\chk_vfo")) << relay.fromClient.toStdString();
    EXPECT_TRUE(opening.contains("\\dump_state")) << relay.fromClient.toStdString();
    for (const QByteArray &command : sent)
        EXPECT_FALSE(command.startsWith("V ")) << relay.fromClient.toStdString();
    EXPECT_TRUE(relay.fromClient.endsWith("q\n")) << relay.fromClient.toStdString();
}

TEST_F(RigctlPeerTest, AWheelNotchIsWhatTheNextRigctlReads)
{
    StartServing();
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(Rigctl({u"f"_s}), u"14210000\n"_s);
    Wheel(Form1().LEDDisplay1, -120);
    Wheel(Form1().LEDDisplay1, -120);
    EXPECT_EQ(Rigctl({u"f"_s}), u"14190000\n"_s);
}
