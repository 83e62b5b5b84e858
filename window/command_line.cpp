#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int UsageExitCode = 2;

// ADDRESS:PORT with a literal address, IPv6 in brackets ([::1]:4532).
std::optional<std::pair<QHostAddress, quint16>> ParseEndpoint(const QString &text)
{
    const QUrl url(u"tcp://"_s + text, QUrl::StrictMode);
    if (!url.isValid() || url.port() <= 0 || !url.userInfo().isEmpty() || !url.path().isEmpty())
        return std::nullopt;
    const QHostAddress address(url.host());
    if (address.isNull())
        return std::nullopt;
    return std::pair{address, static_cast<quint16>(url.port())};
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
    parser.addOptions({rigctld, listen, allow});
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

    for (const QString &subnet : parser.values(allow)) {
        const QPair<QHostAddress, int> parsed = QHostAddress::parseSubnet(subnet);
        if (parsed.first.isNull())
            return usageError(u"Not a subnet for --rigctld-allow: "_s + subnet);
        result.options.rigctldAllowed << parsed;
    }
    if (parser.isSet(rigctld) || parser.isSet(listen)) {
        TRigctldEndpoint server;
        if (parser.isSet(listen)) {
            const auto endpoint = ParseEndpoint(parser.value(listen));
            if (!endpoint)
                return usageError(u"Not an ADDRESS:PORT for --rigctld-listen: "_s + parser.value(listen));
            server.address = endpoint->first;
            server.port = endpoint->second;
        }
        result.options.rigctld = server;
    }
    return result;
}
