#include "command_line.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TCommandLine Parse(QStringList arguments)
{
    arguments.prepend(u"/usr/bin/corvex"_s);
    return ParseCommandLine(arguments);
}

} // namespace

TEST(CommandLine, HelpAndVersionPrintAndStop)
{
    const TCommandLine help = Parse({u"--help"_s});
    ASSERT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.startsWith(u"Usage: corvex [options]\n"_s)) << help.output.toStdString();
    for (const QString &option : {u"--rigctld "_s, u"--rigctld-listen <ADDRESS:PORT>"_s, u"--rigctld-allow <CIDR>"_s,
                                  u"--receiver <SERIAL>"_s})
        EXPECT_TRUE(help.output.contains(option)) << option.toStdString();
    // The toolkit's own options are taken but not offered.
    EXPECT_FALSE(help.output.contains(u"platform"_s));
    EXPECT_EQ(Parse({u"-h"_s}).output, help.output);

    const TCommandLine version = Parse({u"--version"_s});
    ASSERT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression(u"^\\d+\\.\\d+(\\.\\d+)?$"_s).match(ProgramVersion()).hasMatch());
    EXPECT_TRUE(version.output.endsWith(u' ' + ProgramVersion() + u'\n')) << version.output.toStdString();
    EXPECT_TRUE(version.error.isEmpty());
}

TEST(CommandLine, MistakesPrintTheUsageAndExitWithTwo)
{
    for (const QStringList &arguments :
         {QStringList{u"--bogus"_s}, QStringList{u"memos.ini"_s}, QStringList{u"--rigctld-listen"_s},
          QStringList{u"--rigctld-listen"_s, u"4532"_s}, QStringList{u"--rigctld-listen"_s, u"localhost:4532"_s},
          QStringList{u"--rigctld-listen"_s, u"127.0.0.1:99999"_s}, QStringList{u"--rigctld-listen"_s, u"::1:4532"_s},
          QStringList{u"--rigctld-allow"_s, u"192.168.1.0/33"_s}, QStringList{u"--rigctld-allow"_s, u"lan"_s},
          QStringList{u"--rigctld-allow"_s, u"fd00::/129"_s}, QStringList{u"--rigctld-allow"_s, u"10.0.0.0/255.0.255.0"_s},
          QStringList{u"--rigctld-allow"_s, u"10.0.0.0/+8"_s}, QStringList{u"--rigctld-allow"_s, u"192.168.1"_s},
          QStringList{u"--receiver"_s}, QStringList{u"--receiver="_s},
          QStringList{u"--yes"_s, u"--export-memories"_s, u"m.csv"_s},
          QStringList{u"--import-stations"_s, u"sked-b25.csv"_s, u"--yes"_s}, QStringList{u"--yes"_s}}) {
        const TCommandLine line = Parse(arguments);
        EXPECT_EQ(line.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(line.output.isEmpty());
        EXPECT_TRUE(line.error.contains(u"\n\nUsage: corvex [options]\n"_s)) << line.error.toStdString();
    }
    EXPECT_TRUE(Parse({u"--bogus"_s}).error.startsWith(u"Unknown option 'bogus'."_s));
}

TEST(CommandLine, ARunWithoutOptionsLeavesTheServerToTheSavedChoice)
{
    const TCommandLine line = Parse({});
    EXPECT_FALSE(line.exitCode.has_value());
    EXPECT_FALSE(line.options.rigctld.has_value());
    EXPECT_TRUE(line.options.rigctldAllowed.isEmpty());
    EXPECT_FALSE(line.options.receiver.has_value());
    EXPECT_EQ(Parse({u"--receiver"_s, u"A50285BI"_s}).options.receiver, u"A50285BI"_s);
    // What the toolkit takes for itself is let through.
    EXPECT_FALSE(Parse({u"-platform"_s, u"offscreen"_s, u"-style"_s, u"fusion"_s, u"-reverse"_s}).exitCode.has_value());
}

TEST(CommandLine, ServerEndpointsAndAllowedSubnets)
{
    const TCommandLine plain = Parse({u"--rigctld"_s});
    ASSERT_TRUE(plain.options.rigctld.has_value());
    EXPECT_EQ(plain.options.rigctld->address, u"127.0.0.1"_s);
    EXPECT_EQ(plain.options.rigctld->port, 4532);

    // IPv6 in the system's own spelling, as the menu item shows it.
    const TCommandLine v6 = Parse({u"--rigctld-listen"_s, u"[0:0::1]:4600"_s});
    ASSERT_TRUE(v6.options.rigctld.has_value());
    EXPECT_EQ(v6.options.rigctld->address, u"::1"_s);
    EXPECT_EQ(v6.options.rigctld->port, 4600);

    const TCommandLine lan = Parse({u"--rigctld-listen=0.0.0.0:4533"_s, u"--rigctld-allow"_s, u"192.168.1.0/24"_s,
                                    u"--rigctld-allow"_s, u"fd00::/8"_s, u"--rigctld-allow=10.0.0.0/255.0.0.0"_s,
                                    u"--rigctld-allow=192.168.2.7"_s, u"--rigctld-allow=fd00::7"_s});
    ASSERT_TRUE(lan.options.rigctld.has_value());
    EXPECT_EQ(lan.options.rigctld->address, u"0.0.0.0"_s);
    EXPECT_EQ(lan.options.rigctld->port, 4533);
    // One host's address stands for that host alone.
    EXPECT_EQ(lan.options.rigctldAllowed, (QStringList{u"192.168.1.0/24"_s, u"fd00::/8"_s, u"10.0.0.0/255.0.0.0"_s,
                                                       u"192.168.2.7/32"_s, u"fd00::7/128"_s}));

    // Allowing peers alone does not start the server.
    EXPECT_FALSE(Parse({u"--rigctld-allow"_s, u"10.0.0.0/8"_s}).options.rigctld.has_value());
}

// The window needs a display server only on X11 and Wayland, the default ones; what is missing
// is named.
TEST(CommandLine, AMissingDisplayIsNamed)
{
    struct Case
    {
        QStringList arguments;
        QStringList environment;
        QString missing;
    };
    const QString neither = u"no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set"_s;
    for (const Case &c : {Case{{}, {}, neither}, Case{{}, {u"DISPLAY=:0"_s}, {}},
                          Case{{}, {u"WAYLAND_DISPLAY=wayland-0"_s}, {}},
                          Case{{}, {u"QT_QPA_PLATFORM=xcb"_s, u"WAYLAND_DISPLAY=w"_s},
                               u"no display to show the window on: DISPLAY is not set"_s},
                          Case{{}, {u"QT_QPA_PLATFORM=vnc:size=800x480"_s}, {}},
                          Case{{u"-platform"_s, u"xcb"_s, u"-display"_s, u":1"_s}, {}, {}}}) {
        QProcessEnvironment environment;
        for (const QString &variable : c.environment)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        EXPECT_EQ(MissingDisplay(Parse(c.arguments), environment), c.missing) << c.environment.join(u' ').toStdString();
    }
}

// Where an X server answers (XWayland under a Wayland session) and the user chose no platform,
// X11 comes first; a choice of the user's stands.
TEST(CommandLine, AnXServerIsPreferredUnlessThePlatformIsChosen)
{
    struct Case
    {
        QStringList arguments;
        QStringList environment;
        QString platform;
    };
    const QString x11First = u"xcb;wayland"_s;
    for (const Case &c : {Case{{}, {u"DISPLAY=:0"_s, u"WAYLAND_DISPLAY=wayland-0"_s, u"XDG_SESSION_TYPE=wayland"_s}, x11First},
                          Case{{}, {u"DISPLAY=:0"_s}, x11First},
                          Case{{u"-display"_s, u":1"_s}, {}, x11First},
                          Case{{}, {u"WAYLAND_DISPLAY=wayland-0"_s}, {}},
                          Case{{}, {u"DISPLAY=:0"_s, u"QT_QPA_PLATFORM=wayland"_s}, {}},
                          Case{{u"-platform"_s, u"wayland"_s}, {u"DISPLAY=:0"_s}, {}},
                          Case{{}, {}, {}}}) {
        QProcessEnvironment environment;
        for (const QString &variable : c.environment)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        EXPECT_EQ(DefaultPlatform(Parse(c.arguments), environment), c.platform)
            << (c.arguments + c.environment).join(u' ').toStdString();
    }
}
