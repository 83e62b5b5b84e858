#include "program_rig.h"
#include "remote_tuning.h"
#include "rigctl_loader.h"
#include "window_menu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::Literals::StringLiterals;

// The server as the user meets it: the command line, the window's menu, the saved choice and the
// status line.
class NetworkControlTest : public MainWindowRig
{
protected:
    QString SettingsPath() const { return folder.filePath(u"settings.ini"_s); }
    bool SavedChoice() const { return TProgramSettings(SettingsPath()).NetworkControl(); }
    static TProgramOptions ListeningOn(quint16 port)
    {
        TProgramOptions options;
        options.rigctld = TRigctldEndpoint{QStringLiteral("127.0.0.1"), port};
        return options;
    }
    void StartWith(const TProgramOptions &options)
    {
        program.emplace(port, folder.path(), options, SettingsPath());
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    }
    TRigctlService &Server() { return program->NetworkControl.Server(); }
    QAction &MenuItem() { return program->NetworkControl.MenuItem(); }

    // Whether a client on loopback gets the frequency from the server.
    bool AnswersAClient()
    {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, Server().Port());
        client.write("f\n");
        QByteArray reply;
        return QTest::qWaitFor(
            [&] {
                reply += client.readAll();
                return reply == "14200000\n";
            },
            10'000);
    }
};

TEST_F(NetworkControlTest, OffByDefaultWithItsItemInTheWindowMenu)
{
    StartWith({});
    EXPECT_FALSE(Server().IsListening());
    EXPECT_EQ(MenuItem().text(), u"Network control (rigctld) on 127.0.0.1:4532"_s);
    EXPECT_TRUE(MenuItem().isCheckable());
    EXPECT_FALSE(MenuItem().isChecked());
    EXPECT_TRUE(program->WindowMenu->Menu().actions().contains(&MenuItem()));
}

TEST_F(NetworkControlTest, TheCommandLineListensForTheRunWithoutSavingIt)
{
    StartWith(ListeningOn(0));
    EXPECT_TRUE(Server().IsListening());
    EXPECT_TRUE(MenuItem().isChecked());
    EXPECT_EQ(MenuItem().text(), u"Network control (rigctld) on 127.0.0.1:0"_s);
    EXPECT_TRUE(AnswersAClient());
    EXPECT_FALSE(SavedChoice());
}

TEST_F(NetworkControlTest, TheMenuItemSwitchesTheServerAndTheChoiceIsSaved)
{
    StartWith(ListeningOn(0));
    MenuItem().trigger();
    EXPECT_FALSE(Server().IsListening());
    EXPECT_FALSE(MenuItem().isChecked());

    MenuItem().trigger();
    EXPECT_TRUE(Server().IsListening());
    EXPECT_TRUE(MenuItem().isChecked());
    EXPECT_TRUE(SavedChoice());
    EXPECT_TRUE(AnswersAClient());

    MenuItem().trigger();
    EXPECT_FALSE(Server().IsListening());
    EXPECT_FALSE(SavedChoice());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NetworkControlTest, TheSavedChoiceListensAtStartAndAFailureIsOneTextOnTheStatusLine)
{
    TProgramSettings(SettingsPath()).SetNetworkControl(true);
    // Held here, unless something else of this machine holds it already: in use either way.
    QTcpServer holder;
    holder.listen(QHostAddress::LocalHost, TRigctldEndpoint::DefaultPort);
    StartWith({});
    EXPECT_EQ(Form1().info->text(), u"rigctld: cannot listen on 127.0.0.1:4532 - address in use"_s);
    EXPECT_FALSE(Server().IsListening());
    EXPECT_FALSE(MenuItem().isChecked());
    EXPECT_TRUE(SavedChoice());
    // The program runs on.
    port.ClearCalls();
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(SentFrequency(), 14'210'000);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NetworkControlTest, TheCommandLineEndpointWinsOverTheSavedChoice)
{
    TProgramSettings(SettingsPath()).SetNetworkControl(true);
    StartWith(ListeningOn(0));
    EXPECT_TRUE(Server().IsListening());
    // A port of the system's choosing, from its ephemeral range, never the saved choice's 4532.
    EXPECT_NE(Server().Port(), TRigctldEndpoint::DefaultPort);
    EXPECT_TRUE(AnswersAClient());
    EXPECT_TRUE(SavedChoice());
}

TEST_F(NetworkControlTest, AfterAFailureTheMenuItemTriesAgain)
{
    auto holder = std::make_unique<QTcpServer>();
    ASSERT_TRUE(holder->listen(QHostAddress::LocalHost));
    const quint16 held = holder->serverPort();
    StartWith(ListeningOn(held));
    EXPECT_EQ(Form1().info->text(), u"rigctld: cannot listen on 127.0.0.1:"_s + QString::number(held) +
                                         u" - address in use"_s);
    EXPECT_FALSE(MenuItem().isChecked());

    holder.reset();
    MenuItem().trigger();
    EXPECT_TRUE(Server().IsListening());
    EXPECT_EQ(Server().Port(), held);
    EXPECT_TRUE(MenuItem().isChecked());
    EXPECT_TRUE(SavedChoice());
}

// The module is found beside the program; where it is missing or no library, a stand-in says why
// and never listens.
TEST(RigctlLoader, TheModuleBesideTheProgramOrAStandInThatSaysWhy)
{
    struct : TRemoteTuning
    {
        std::int32_t Frequency() const override { return 7'074'000; }
        void TuneTo(std::int32_t) override {}
        QString ModeLabel() const override { return u"USB"_s; }
        int Passband() const override { return 2400; }
        void SetMode(const QString &, int) override {}
    } tuning;
    const std::unique_ptr<TRigctlService> found = LoadRigctlService(tuning);
    EXPECT_TRUE(found->Listen(TRigctldEndpoint{u"127.0.0.1"_s, 0}));
    EXPECT_TRUE(found->IsListening());

    QTemporaryDir empty;
    QTemporaryDir broken;
    QFile notALibrary(broken.filePath(u"corvex_rigctld.so"_s));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not a library\n");
    notALibrary.close();
    for (const QString &folder : {empty.path(), broken.path()}) {
        const std::unique_ptr<TRigctlService> standIn = LoadRigctlService(tuning, folder);
        EXPECT_FALSE(standIn->Listen(TRigctldEndpoint{u"127.0.0.1"_s, 0}));
        EXPECT_FALSE(standIn->IsListening());
        EXPECT_TRUE(standIn->ListenFailure().startsWith(u"rigctld: network control cannot be loaded - "_s))
            << standIn->ListenFailure().toStdString();
        EXPECT_TRUE(standIn->ListenFailure().contains(u"corvex_rigctld.so"_s)) << standIn->ListenFailure().toStdString();
    }
}

// Told to listen on [::], the server takes IPv4 clients too, and the subnets allowed on the
// command line reach it: a client from this machine's LAN address is closed without them and
// served with them.
TEST_F(NetworkControlTest, ListeningOnAnyIPv6ServesIPv4ClientsAsTheCommandLineAllows)
{
    std::optional<QHostAddress> own;
    for (const QHostAddress &address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            own = address;
    if (!own)
        GTEST_SKIP() << "this machine has no IPv4 address besides loopback";
    TProgramOptions options;
    options.rigctld = TRigctldEndpoint{u"::"_s, 0};
    for (const QStringList &allowed : {QStringList{}, QStringList{own->toString() + u"/32"_s}}) {
        options.rigctldAllowed = allowed;
        program.reset();
        StartWith(options);
        ASSERT_TRUE(Server().IsListening());
        EXPECT_TRUE(AnswersAClient());
        QTcpSocket lan;
        ASSERT_TRUE(lan.bind(*own));
        lan.connectToHost(*own, Server().Port());
        lan.write("f\n");
        QByteArray reply;
        const bool served = QTest::qWaitFor(
            [&] {
                reply += lan.readAll();
                return reply == "14200000\n" || lan.state() == QAbstractSocket::UnconnectedState;
            },
            10'000);
        EXPECT_TRUE(served) << allowed.join(u' ').toStdString();
        EXPECT_EQ(reply, allowed.isEmpty() ? QByteArray() : QByteArray("14200000\n")) << allowed.join(u' ').toStdString();
    }
}
