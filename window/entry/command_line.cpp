#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdint>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int UsageExitCode = 2;

// The address in the system's own spelling ("::1" for "0:0::1"), or nothing when the text is no
// literal IPv4 or IPv6 address. The network libraries are left unloaded until the server is
// started: the C library reads addresses as well.
std::optional<QString> CanonicalAddress(const QString &text, int *family = nullptr)
{
    const QByteArray bytes = text.toLatin1();
    in6_addr binary{};
    char written[INET6_ADDRSTRLEN] = {};
    for (const int candidate : {AF_INET, AF_INET6}) {
        if (inet_pton(candidate, bytes.constData(), &binary) == 1 &&
            inet_ntop(candidate, &binary, written, sizeof written) != nullptr) {
            if (family)
                *family = candidate;
            return QString::fromLatin1(written);
        }
    }
    return std::nullopt;
}

// ADDRESS:PORT with a literal address, IPv6 in brackets ([::1]:4532).
std::optional<TRigctldEndpoint> ParseEndpoint(const QString &text)
{
    const QUrl url(u"tcp://"_s + text, QUrl::StrictMode);
    if (!url.isValid() || url.port() <= 0 || !url.userInfo().isEmpty() || !url.path().isEmpty())
        return std::nullopt;
    const std::optional<QString> address = CanonicalAddress(url.host());
    if (!address)
        return std::nullopt;
    return TRigctldEndpoint{*address, static_cast<quint16>(url.port())};
}

// ADDRESS/PREFIX, an IPv4 ADDRESS/NETMASK (192.168.1.0/255.255.255.0), or one host's ADDRESS,
// which is given back with its full prefix (/32, /128).
std::optional<QString> Subnet(const QString &text)
{
    const qsizetype slash = text.indexOf(u'/');
    int family = 0;
    if (!CanonicalAddress(text.left(slash), &family))
        return std::nullopt;
    const int longest = family == AF_INET ? 32 : 128;
    if (slash < 0)
        return text + u'/' + QString::number(longest);
    const QString prefix = text.mid(slash + 1);
    bool isNumber = false;
    const int length = prefix.toInt(&isNumber);
    if (isNumber && !prefix.startsWith(u'+') && !prefix.startsWith(u'-'))
        return length >= 0 && length <= longest ? std::optional(text) : std::nullopt;
    in_addr mask{};
    if (family != AF_INET || inet_pton(AF_INET, prefix.toLatin1().constData(), &mask) != 1)
        return std::nullopt;
    // The mask's ones must come first: ~mask + 1 is then a power of two.
    const std::uint32_t inverse = ~ntohl(mask.s_addr);
    return (inverse & (inverse + 1)) == 0 ? std::optional(text) : std::nullopt;
}

// What QGuiApplication and QApplication take from the command line themselves.
void AcceptToolkitOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                             "qwindowgeometry", "geometry", "qwindowicon", "icon", "qwindowtitle", "title", "display",
                             "name", "session", "style", "stylesheet"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The platform the user chose: -platform, or else QT_QPA_PLATFORM; empty when neither is given.
QString ChosenPlatform(const TCommandLine &line, const QProcessEnvironment &environment)
{
    return line.platform.isEmpty() ? environment.value(u"QT_QPA_PLATFORM"_s) : line.platform;
}

} // namespace

QString ProgramVersion()
{
    return QStringLiteral(CORVEX_VERSION);
}

TCommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(u"Control panel of the Corvex and Corvin receivers."_s);
    // Declared by hand: addHelpOption() would also offer --help-all, which only process() answers.
    const QCommandLineOption helpOption({u"h"_s, u"help"_s}, u"Displays this help."_s);
    parser.addOption(helpOption);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption rigctld(u"rigctld"_s, u"Listen for rigctld clients (Hamlib NET rigctl) on 127.0.0.1:4532."_s);
    const QCommandLineOption listen(u"rigctld-listen"_s,
                                    u"Listen for rigctld clients on ADDRESS:PORT instead ([::1]:4532 for IPv6)."_s,
                                    u"ADDRESS:PORT"_s);
    const QCommandLineOption allow(u"rigctld-allow"_s,
                                   u"Also accept rigctld clients from the subnet CIDR (192.168.1.0/24); repeatable."_s,
                                   u"CIDR"_s);
    const QCommandLineOption receiver(u"receiver"_s,
                                      u"Open the FTDI chip with serial SERIAL as the receiver, for this run only."_s,
                                      u"SERIAL"_s);
    const QCommandLineOption importStations(u"import-stations"_s,
                                            u"Import a station list (gqrx, SDR++, CHIRP, SDR#, EiBi), then exit."_s,
                                            u"FILE"_s);
    const QCommandLineOption exportStations(u"export-stations"_s,
                                            u"Write every imported station to FILE as CSV, then exit."_s, u"FILE"_s);
    const QCommandLineOption exportMemories(u"export-memories"_s, u"Write the 120 memories to FILE as CSV, then exit."_s,
                                            u"FILE"_s);
    const QCommandLineOption importMemories(
        u"import-memories"_s, u"Show what FILE (CSV) would change in the memories; with --yes, change them. Then exit."_s,
        u"FILE"_s);
    const QCommandLineOption yes(u"yes"_s, u"With --import-memories: replace the memories."_s);
    parser.addOptions({rigctld, listen, allow, receiver, importStations, exportStations, exportMemories, importMemories, yes});
    AcceptToolkitOptions(parser);

    // Named from the arguments read: before the application runs, the parser cannot name it.
    const QString program = arguments.isEmpty() ? u"corvex"_s : QFileInfo(arguments.front()).fileName();
    const QString help = parser.helpText();
    const QString usage = u"Usage: "_s + program + help.mid(help.indexOf(u" [options]"_s));
    TCommandLine result;
    auto usageError = [&](const QString &message) {
        result.exitCode = UsageExitCode;
        result.error = message + u"\n\n"_s + usage;
        return result;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        result.exitCode = 0;
        result.output = usage;
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.output = QCoreApplication::applicationName() + u' ' + ProgramVersion() + u'\n';
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(u"Unexpected argument: "_s + parser.positionalArguments().front());
    result.platform = parser.value(u"platform"_s);
    result.display = parser.value(u"display"_s);

    const std::pair<const QCommandLineOption *, TListCommand::TKind> jobs[] = {
        {&importStations, TListCommand::TKind::ImportStations},
        {&exportStations, TListCommand::TKind::ExportStations},
        {&exportMemories, TListCommand::TKind::ExportMemories},
        {&importMemories, TListCommand::TKind::ImportMemories}};
    for (const auto &[option, kind] : jobs) {
        if (!parser.isSet(*option))
            continue;
        if (result.listCommand)
            return usageError(u"One of --import-stations, --export-stations, --export-memories and "
                              "--import-memories at a time"_s);
        result.listCommand = TListCommand{kind, parser.value(*option), parser.isSet(yes)};
    }
    if (parser.isSet(yes) && (!result.listCommand || result.listCommand->kind != TListCommand::TKind::ImportMemories))
        return usageError(u"--yes goes with --import-memories"_s);
    if (parser.isSet(receiver)) {
        if (parser.value(receiver).isEmpty())
            return usageError(u"No serial given to --receiver"_s);
        result.options.receiver = parser.value(receiver);
    }
    for (const QString &text : parser.values(allow)) {
        const std::optional<QString> subnet = Subnet(text);
        if (!subnet)
            return usageError(u"Not a subnet for --rigctld-allow: "_s + text);
        result.options.rigctldAllowed << *subnet;
    }
    if (parser.isSet(rigctld) || parser.isSet(listen)) {
        TRigctldEndpoint server;
        if (parser.isSet(listen)) {
            const std::optional<TRigctldEndpoint> endpoint = ParseEndpoint(parser.value(listen));
            if (!endpoint)
                return usageError(u"Not an ADDRESS:PORT for --rigctld-listen: "_s + parser.value(listen));
            server = *endpoint;
        }
        result.options.rigctld = server;
    }
    return result;
}

QString MissingDisplay(const TCommandLine &line, const QProcessEnvironment &environment)
{
    const QString chosen = ChosenPlatform(line, environment);
    QStringList platforms;
    for (const QString &entry : chosen.split(u';', Qt::SkipEmptyParts))
        platforms << entry.section(u':', 0, 0).trimmed();
    if (platforms.isEmpty())
        platforms = QStringList{u"xcb"_s, u"wayland"_s};
    QStringList missing;
    for (const QString &platform : platforms) {
        const bool x11 = platform == u"xcb"_s;
        if (!x11 && !platform.startsWith(u"wayland"_s))
            return {}; // offscreen, vnc, eglfs and the like need no display server
        if (x11 && !line.display.isEmpty())
            return {};
        const QString variable = x11 ? u"DISPLAY"_s : u"WAYLAND_DISPLAY"_s;
        if (!environment.value(variable).isEmpty())
            return {};
        if (!missing.contains(variable))
            missing << variable;
    }
    return missing.size() == 1 ? u"no display to show the window on: "_s + missing.front() + u" is not set"_s
                               : u"no display to show the window on: neither "_s + missing.join(u" nor "_s) +
                                     u" is set"_s;
}

QString DefaultPlatform(const TCommandLine &line, const QProcessEnvironment &environment)
{
    if (!ChosenPlatform(line, environment).isEmpty())
        return {};
    if (line.display.isEmpty() && environment.value(u"DISPLAY"_s).isEmpty())
        return {};
    return u"xcb;wayland"_s;
}
