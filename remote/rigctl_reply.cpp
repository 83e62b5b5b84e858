#include "rigctl_reply.h"

#include "receiver_range.h"
#include "remote_tuning.h"

#include <QList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

using enum TRigctlVerb;

constexpr int Ok = 0;
constexpr int InvalidParameter = -1;
constexpr int FeatureNotAvailable = -11;

// hamlib's "normal" and "no change" passbands.
constexpr int PassbandNormal = 0;
constexpr int PassbandNoChange = -1;

// The mode names hamlib's rig_parse_mode knows; the receiver only keeps the label.
constexpr auto ModeNames = std::to_array<std::string_view>({
    "AM",      "AM-D",    "CW",      "USB",     "LSB",     "RTTY",    "FM",      "FM-D",    "WFM",
    "CWR",     "CW-R",    "RTTYR",   "RTTY-R",  "AMS",     "PKTLSB",  "PKTUSB",  "LSB-D",   "USB-D",
    "PKTFM",   "PKTFMN",  "ECSSUSB", "ECSSLSB", "FAX",     "SAM",     "SAL",     "SAH",     "DSB",
    "FMN",     "PKTAM",   "P25",     "D-STAR",  "DPMR",    "NXDN-VN", "NXDN-N",  "DCR",     "AMN",
    "PSK",     "PSKR",    "DD",      "C4FM",    "SPEC",    "CWN",     "IQ",      "ISBUSB",  "ISBLSB"});

// The VFO names set_vfo takes for the receiver's one VFO.
constexpr auto OwnVfoNames = std::to_array<std::string_view>({"VFOA", "Main", "currVFO", "VFO"});

// Protocol 1 with the receiver's one range and the keys that keep hamlib 4.5 from probing VFO B:
// what follows the range's line.
constexpr char DumpStateAfterRange[] = "0 0 0 0 0 0 0\n"
                                       "0 0 0 0 0 0 0\n"
                                       "0 0\n"
                                       "0 0\n"
                                       "0\n"
                                       "0\n"
                                       "0\n"
                                       "0\n"
                                       "\n"
                                       "\n"
                                       "0x0\n"
                                       "0x0\n"
                                       "0x0\n"
                                       "0x0\n"
                                       "0x0\n"
                                       "0x0\n"
                                       "vfo_ops=0x0\n"
                                       "ptt_type=0x0\n"
                                       "targetable_vfo=0x3\n"
                                       "has_set_vfo=1\n"
                                       "has_get_vfo=1\n"
                                       "done\n";

// "1", the protocol's version; "2", the rig model; "0", ITU region; then the one range the
// receiver tunes, for every mode.
QByteArray DumpStateBlock()
{
    return "1\n2\n0\n" + QByteArray::number(ReceiverRange::Lowest) + ".000000 " +
           QByteArray::number(ReceiverRange::Highest) + ".000000 0xcef -1 -1 0x1 0x0\n" + DumpStateAfterRange;
}

// The lines loggers such as CQRLOG read to learn what the rig can do.
constexpr char DumpCapsText[] = "Caps dump for model: 2\n"
                                "Model name:\tCorvex-Corvin\n"
                                "Mfg name:\tCorvex-Corvin\n"
                                "Rig type:\tReceiver\n"
                                "PTT type:\tNone\n"
                                "Port type:\tNetwork link\n"
                                "Has targetable VFO: Y\n"
                                "Mode list: AM CW USB LSB FM WFM CWR PKTLSB PKTUSB \n"
                                "VFO list: VFOA \n"
                                "Can set Frequency:\tY\n"
                                "Can get Frequency:\tY\n"
                                "Can set Mode:\tY\n"
                                "Can get Mode:\tY\n"
                                "Can set VFO:\tY\n"
                                "Can get VFO:\tY\n"
                                "Can set PTT:\tN\n"
                                "Can get PTT:\tY\n"
                                "Can set Split VFO:\tN\n"
                                "Can get Split VFO:\tY\n"
                                "Can set Power Stat:\tN\n"
                                "Can get Power Stat:\tY\n"
                                "Can get Info:\tY\n";

constexpr char InfoText[] = "Corvex-Corvin receiver";

std::string_view View(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

template <std::size_t N>
bool IsOneOf(const std::array<std::string_view, N> &names, const QByteArray &word)
{
    return std::ranges::find(names, View(word)) != names.end();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A plain decimal number: sign, digits with an optional fraction, optional exponent. No hex, no
// "inf" or "nan", nothing after it.
bool IsDecimalNumber(std::string_view text)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == text.size();
}

std::string_view WithoutPlus(std::string_view text)
{
    return text.starts_with('+') ? text.substr(1) : text;
}

// Hertz to the nearest whole hertz, when the receiver takes them.
std::optional<std::int32_t> AcceptedFrequency(const QByteArray &text)
{
    const std::string_view number = View(text);
    if (!IsDecimalNumber(number))
        return std::nullopt;
    const std::string_view digits = WithoutPlus(number);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    const double hertz = std::round(value);
    if (!(hertz >= ReceiverRange::Lowest && hertz <= ReceiverRange::Highest))
        return std::nullopt;
    return static_cast<std::int32_t>(hertz);
}

std::optional<int> WholeNumber(const QByteArray &text)
{
    const std::string_view digits = WithoutPlus(View(text));
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// What a command came to: a code, and the values a get command returns.
struct Outcome
{
    int code = Ok;
    QList<std::pair<QByteArray, QByteArray>> fields; // label, value
    QByteArray block;                                // dump_state and dump_caps, line by line
    bool reportAfterValues = false;                  // a plain reply that still ends with RPRT
    QByteArray verbatim;                             // a reply that is the same in every form
};

Outcome Report(int code)
{
    return Outcome{code, {}, {}, false, {}};
}

Outcome Values(QList<std::pair<QByteArray, QByteArray>> fields)
{
    return Outcome{Ok, std::move(fields), {}, false, {}};
}

Outcome Verbatim(QByteArray reply)
{
    return Outcome{Ok, {}, {}, false, std::move(reply)};
}

QByteArray ReportLine(int code)
{
    return "RPRT " + QByteArray::number(code) + '\n';
}

Outcome Tune(const QList<QByteArray> &arguments, TRemoteTuning &tuning)
{
    const std::optional<std::int32_t> hertz = AcceptedFrequency(arguments[0]);
    if (!hertz)
        return Report(InvalidParameter);
    tuning.TuneTo(*hertz);
    return Report(Ok);
}

Outcome KeepMode(const QList<QByteArray> &arguments, TRemoteTuning &tuning)
{
    const std::optional<int> passband = WholeNumber(arguments[1]);
    if (!IsOneOf(ModeNames, arguments[0]) || !passband || *passband < PassbandNoChange)
        return Report(InvalidParameter);
    const bool keepPassband = *passband == PassbandNormal || *passband == PassbandNoChange;
    tuning.SetMode(QString::fromLatin1(arguments[0]), keepPassband ? tuning.Passband() : *passband);
    return Report(Ok);
}

Outcome Transmit(const QByteArray &ptt)
{
    if (ptt == "0")
        return Report(Ok);
    if (ptt == "1" || ptt == "2" || ptt == "3")
        return Report(FeatureNotAvailable);
    return Report(InvalidParameter);
}

Outcome Split(const QList<QByteArray> &arguments)
{
    if (!IsVfoName(arguments[1]))
        return Report(InvalidParameter);
    if (arguments[0] == "0")
        return Report(Ok);
    if (arguments[0] == "1")
        return Report(FeatureNotAvailable);
    return Report(InvalidParameter);
}

Outcome Carry(const TRigctlCommand &command, TRemoteTuning &tuning)
{
    const QList<QByteArray> &arguments = command.arguments;
    switch (*command.verb) {
    case GetFreq: return Values({{"Frequency", QByteArray::number(tuning.Frequency())}});
    case SetFreq: return Tune(arguments, tuning);
    case GetMode:
        return Values({{"Mode", tuning.ModeLabel().toLatin1()}, {"Passband", QByteArray::number(tuning.Passband())}});
    case SetMode: return KeepMode(arguments, tuning);
    case GetVfo: return Values({{"VFO", "VFOA"}});
    case SetVfo: return Report(IsOneOf(OwnVfoNames, arguments[0]) ? Ok : InvalidParameter);
    case GetPtt: return Values({{"PTT", "0"}});
    case SetPtt: return Transmit(arguments[0]);
    case GetSplitVfo: return Values({{"Split", "0"}, {"TX VFO", "VFOA"}});
    case SetSplitVfo: return Split(arguments);
    // hamlib reads the check as a bare value in both forms.
    case CheckVfo: return Verbatim(command.separator != 0 ? "ChkVFO: 0\n" : "0\n");
    case DumpState: return Outcome{Ok, {}, DumpStateBlock(), false, {}};
    case DumpCaps: return Outcome{Ok, {}, DumpCapsText, true, {}};
    case GetPowerStat: return Values({{"Power Status", "1"}});
    case GetLockMode: return Outcome{Ok, {{"Locked", "0"}}, {}, true, {}};
    case SetVfoOption: return Report(FeatureNotAvailable);
    case GetInfo: return Values({{"Info", InfoText}});
    case SatelliteRise:
    case SatelliteSet: return Report(Ok);
    case Quit: return Verbatim(ReportLine(Ok));
    }
    return Report(FeatureNotAvailable);
}

QByteArray Plain(const Outcome &outcome)
{
    if (outcome.code != Ok)
        return ReportLine(outcome.code);
    if (outcome.fields.isEmpty() && outcome.block.isEmpty())
        return ReportLine(Ok);
    QByteArray reply = outcome.block;
    for (const auto &[label, value] : outcome.fields)
        reply += value + '\n';
    if (outcome.reportAfterValues)
        reply += ReportLine(Ok);
    return reply;
}

QByteArray Extended(const TRigctlCommand &command, const Outcome &outcome)
{
    const std::string_view name = SpellingOf(*command.verb).longName;
    QByteArray reply(name.data(), static_cast<qsizetype>(name.size()));
    reply += ':';
    for (const QByteArray &argument : command.arguments)
        reply += ' ' + argument;
    reply += command.separator;
    reply += outcome.block;
    for (const auto &[label, value] : outcome.fields)
        reply += label + ": " + value + command.separator;
    return reply + ReportLine(outcome.code);
}

} // namespace

QByteArray AnswerRigctlCommand(const TRigctlCommand &command, TRemoteTuning &tuning)
{
    if (!command.verb)
        return ReportLine(FeatureNotAvailable);
    const bool complete = command.arguments.size() == SpellingOf(*command.verb).argumentCount;
    const Outcome outcome = complete ? Carry(command, tuning) : Report(InvalidParameter);
    if (!outcome.verbatim.isEmpty())
        return outcome.verbatim;
    return command.separator != 0 ? Extended(command, outcome) : Plain(outcome);
}
