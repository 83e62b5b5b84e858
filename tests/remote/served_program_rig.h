#pragma once

#include "program_rig.h"
#include "test_clients.h"

// The whole program with its rigctld server listening on a port of the system's choosing.
class ServedProgramRig : public MainWindowRig
{
protected:
    void StartServing()
    {
        TProgramOptions options;
        options.rigctld = TRigctldEndpoint{QStringLiteral("127.0.0.1"), 0};
        program.emplace(port, folder.path(), options, folder.filePath(QStringLiteral("settings.ini")));
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
        ASSERT_TRUE(Server().IsListening());
        port.ClearCalls();
    }
    TRigctlService &Server() { return program->NetworkControl.Server(); }
    quint16 ServerPort() { return Server().Port(); }

    // What a new client reads as the frequency.
    QByteArray FrequencyReadByANewClient()
    {
        TestClient client;
        EXPECT_TRUE(client.Connect(ServerPort()));
        return client.Exchange("f\n");
    }

    // After whatever a client did: a wheel notch still tunes the receiver, and a new client
    // still gets answers and reads that frequency.
    void ExpectThePanelStillServes()
    {
        port.ClearCalls();
        const std::int32_t expected = Form1().frecuencia + Form1().paso;
        Wheel(Form1().LEDDisplay1, 120);
        EXPECT_EQ(SentFrequency(), expected);
        EXPECT_EQ(FrequencyReadByANewClient(), QByteArray::number(expected) + "\n");
    }
};
