#include "case_names.h"
#include "fake_tuning.h"
#include "rigctl_session.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const QByteArray DumpState = "1\n2\n0\n"
                             "50000.000000 70000000.000000 0xcef -1 -1 0x1 0x0\n"
                             "0 0 0 0 0 0 0\n0 0 0 0 0 0 0\n0 0\n0 0\n0\n0\n0\n0\n\n\n"
                             "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n"
                             "vfo_ops=0x0\nptt_type=0x0\ntargetable_vfo=0x3\nhas_set_vfo=1\nhas_get_vfo=1\ndone\n";

const QByteArray DumpCaps = "Caps dump for model: 2\n"
                            "Model name:\tCorvex-Corvin\n"
                            "Mfg name:\tCorvex-Corvin\n"
                            "Rig type:\tReceiver\n"
                            "PTT type:\tNone\n"
                            "Port type:\tNetwork link\n"
                            "Has targetable VFO: Y\n"
                            "Mode list: AM CW USB LSB FM WFM CWR PKTLSB PKTUSB \n"
                            "VFO list: VFOA \n"
                            "Can set Frequency:\tY\nCan get Frequency:\tY\n"
                            "Can set Mode:\tY\nCan get Mode:\tY\n"
                            "Can set VFO:\tY\nCan get VFO:\tY\n"
                            "Can set PTT:\tN\nCan get PTT:\tY\n"
                            "Can set Split VFO:\tN\nCan get Split VFO:\tY\n"
                            "Can set Power Stat:\tN\nCan get Power Stat:\tY\n"
                            "Can get Info:\tY\n";

// The replies to one line, from a session on a receiver at 14,200,000 Hz, USB 2400.
QByteArray Answer(FakeTuning &tuning, const QByteArray &line)
{
    TRigctlSession session(tuning);
    session.Receive(line);
    const std::optional<QByteArray> replies = session.AnswerNextLine();
    EXPECT_TRUE(replies.has_value()) << line.toStdString();
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    return replies.value_or(QByteArray());
}

struct ReplyCase
{
    const char *name;
    QByteArray line;
    QByteArray reply;
};

void PrintTo(const ReplyCase &c, std::ostream *out)
{
    *out << c.name;
}

class Replies : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(Replies, AreWordedAsRigctldDoes)
{
    FakeTuning tuning;
    EXPECT_EQ(Answer(tuning, GetParam().line), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Frequency, Replies,
    testing::Values(ReplyCase{"f", "f\n", "14200000\n"}, ReplyCase{"get_freq", "\\get_freq\n", "14200000\n"},
                    ReplyCase{"plus f", "+f\n", "get_freq:\nFrequency: 14200000\nRPRT 0\n"},
                    ReplyCase{"semicolon f", ";f\n", "get_freq:;Frequency: 14200000;RPRT 0\n"},
                    ReplyCase{"plus get_freq", "+\\get_freq\n", "get_freq:\nFrequency: 14200000\nRPRT 0\n"},
                    ReplyCase{"F", "F 7074000\n", "RPRT 0\n"},
                    ReplyCase{"set_freq", "\\set_freq 7074000.000000\n", "RPRT 0\n"},
                    ReplyCase{"plus F", "+F 7076000\n", "set_freq: 7076000\nRPRT 0\n"},
                    ReplyCase{"semicolon F", ";F 7076000\n", "set_freq: 7076000;RPRT 0\n"},
                    ReplyCase{"F unparsable", "F abc\n", "RPRT -1\n"},
                    ReplyCase{"plus F unparsable", "+F abc\n", "set_freq: abc\nRPRT -1\n"},
                    ReplyCase{"F out of range", "F 30000\n", "RPRT -1\n"},
                    ReplyCase{"F without a value", "F\n", "RPRT -1\n"},
                    ReplyCase{"plus F without a value", "+F\n", "set_freq:\nRPRT -1\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    Mode, Replies,
    testing::Values(ReplyCase{"m", "m\n", "USB\n2400\n"}, ReplyCase{"get_mode", "\\get_mode\n", "USB\n2400\n"},
                    ReplyCase{"plus m", "+m\n", "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n"},
                    ReplyCase{"semicolon m", ";m\n", "get_mode:;Mode: USB;Passband: 2400;RPRT 0\n"},
                    ReplyCase{"M", "M USB 2400\n", "RPRT 0\n"},
                    ReplyCase{"set_mode", "\\set_mode PKTUSB 3000\n", "RPRT 0\n"},
                    ReplyCase{"plus M", "+M PKTUSB 3000\n", "set_mode: PKTUSB 3000\nRPRT 0\n"},
                    ReplyCase{"M unknown mode", "M FOO 2400\n", "RPRT -1\n"},
                    ReplyCase{"plus M unknown mode", "+M FOO 2400\n", "set_mode: FOO 2400\nRPRT -1\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    VfoPttAndSplit, Replies,
    testing::Values(ReplyCase{"v", "v\n", "VFOA\n"}, ReplyCase{"get_vfo", "\\get_vfo\n", "VFOA\n"},
                    ReplyCase{"plus v", "+v\n", "get_vfo:\nVFO: VFOA\nRPRT 0\n"},
                    ReplyCase{"V VFOA", "V VFOA\n", "RPRT 0\n"}, ReplyCase{"V Main", "V Main\n", "RPRT 0\n"},
                    ReplyCase{"V currVFO", "V currVFO\n", "RPRT 0\n"}, ReplyCase{"V VFO", "V VFO\n", "RPRT 0\n"},
                    ReplyCase{"V VFOB", "V VFOB\n", "RPRT -1\n"}, ReplyCase{"V Sub", "V Sub\n", "RPRT -1\n"},
                    ReplyCase{"set_vfo", "\\set_vfo VFOA\n", "RPRT 0\n"},
                    ReplyCase{"plus V", "+V VFOA\n", "set_vfo: VFOA\nRPRT 0\n"},
                    ReplyCase{"t", "t\n", "0\n"}, ReplyCase{"get_ptt", "\\get_ptt\n", "0\n"},
                    ReplyCase{"plus t", "+t\n", "get_ptt:\nPTT: 0\nRPRT 0\n"},
                    ReplyCase{"T 0", "T 0\n", "RPRT 0\n"}, ReplyCase{"T 1", "T 1\n", "RPRT -11\n"},
                    ReplyCase{"T 2", "T 2\n", "RPRT -11\n"}, ReplyCase{"T 3", "T 3\n", "RPRT -11\n"},
                    ReplyCase{"T 4", "T 4\n", "RPRT -1\n"}, ReplyCase{"T x", "T x\n", "RPRT -1\n"},
                    ReplyCase{"set_ptt", "\\set_ptt 0\n", "RPRT 0\n"},
                    ReplyCase{"plus T 1", "+T 1\n", "set_ptt: 1\nRPRT -11\n"},
                    ReplyCase{"s", "s\n", "0\nVFOA\n"}, ReplyCase{"get_split_vfo", "\\get_split_vfo\n", "0\nVFOA\n"},
                    ReplyCase{"plus s", "+s\n", "get_split_vfo:\nSplit: 0\nTX VFO: VFOA\nRPRT 0\n"},
                    ReplyCase{"semicolon s", ";s\n", "get_split_vfo:;Split: 0;TX VFO: VFOA;RPRT 0\n"},
                    ReplyCase{"S 0", "S 0 VFOA\n", "RPRT 0\n"}, ReplyCase{"S 1", "S 1 VFOA\n", "RPRT -11\n"},
                    ReplyCase{"S 0 to VFOB", "S 0 VFOB\n", "RPRT 0\n"},
                    ReplyCase{"S 2", "S 2 VFOA\n", "RPRT -1\n"},
                    ReplyCase{"S without a VFO", "S 0\n", "RPRT -1\n"},
                    ReplyCase{"S with no VFO name", "S 0 USB\n", "RPRT -1\n"},
                    ReplyCase{"set_split_vfo", "\\set_split_vfo 1 VFOB\n", "RPRT -11\n"},
                    ReplyCase{"plus S", "+S 0 VFOA\n", "set_split_vfo: 0 VFOA\nRPRT 0\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    Opening, Replies,
    testing::Values(ReplyCase{"chk_vfo", "\\chk_vfo\n", "0\n"},
                    ReplyCase{"plus chk_vfo", "+\\chk_vfo\n", "ChkVFO: 0\n"},
                    ReplyCase{"dump_state", "\\dump_state\n", DumpState},
                    ReplyCase{"plus dump_state", "+\\dump_state\n", "dump_state:\n" + DumpState + "RPRT 0\n"},
                    ReplyCase{"get_powerstat", "\\get_powerstat\n", "1\n"},
                    ReplyCase{"plus get_powerstat", "+\\get_powerstat\n", "get_powerstat:\nPower Status: 1\nRPRT 0\n"},
                    ReplyCase{"get_lock_mode", "\\get_lock_mode\n", "0\nRPRT 0\n"},
                    ReplyCase{"plus get_lock_mode", "+\\get_lock_mode\n", "get_lock_mode:\nLocked: 0\nRPRT 0\n"},
                    ReplyCase{"dump_caps", "\\dump_caps\n", DumpCaps + "RPRT 0\n"},
                    ReplyCase{"plus dump_caps", "+\\dump_caps\n", "dump_caps:\n" + DumpCaps + "RPRT 0\n"},
                    ReplyCase{"underscore", "_\n", "Corvex-Corvin receiver\n"},
                    ReplyCase{"get_info", "\\get_info\n", "Corvex-Corvin receiver\n"},
                    ReplyCase{"plus underscore", "+_\n", "get_info:\nInfo: Corvex-Corvin receiver\nRPRT 0\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    SatelliteTrackersAndQuit, Replies,
    testing::Values(ReplyCase{"set_vfo_opt 1", "\\set_vfo_opt 1\n", "RPRT -11\n"},
                    ReplyCase{"set_vfo_opt 0", "\\set_vfo_opt 0\n", "RPRT -11\n"},
                    ReplyCase{"plus set_vfo_opt", "+\\set_vfo_opt 1\n", "set_vfo_opt: 1\nRPRT -11\n"},
                    ReplyCase{"AOS", "AOS\n", "RPRT 0\n"}, ReplyCase{"LOS", "LOS\n", "RPRT 0\n"},
                    ReplyCase{"q", "q\n", "RPRT 0\n"}, ReplyCase{"Q", "Q\n", "RPRT 0\n"},
                    ReplyCase{"plus q", "+q\n", "RPRT 0\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    UnknownCommands, Replies,
    testing::Values(ReplyCase{"letter", "X\n", "RPRT -11\n"}, ReplyCase{"long name", "\\foo\n", "RPRT -11\n"},
                    ReplyCase{"extended letter", "+X\n", "RPRT -11\n"},
                    ReplyCase{"digit", "1\n", "RPRT -11\n"}, ReplyCase{"hash", "#\n", "RPRT -11\n"},
                    ReplyCase{"control byte", "\x01\n", "RPRT -11\n"},
                    ReplyCase{"high byte", "\xff\n", "RPRT -11\n"},
                    ReplyCase{"prefix alone", "+\n", "RPRT -11\n"},
                    ReplyCase{"rest of the line dropped", "X f m v\n", "RPRT -11\n"},
                    ReplyCase{"lower-case aos", "aos\n", "RPRT -11\n"}),
    CaseName<ReplyCase>);

INSTANTIATE_TEST_SUITE_P(
    CompoundLinesAndVfoWords, Replies,
    testing::Values(ReplyCase{"fmv", "fmv\n", "14200000\nUSB\n2400\nVFOA\n"},
                    ReplyCase{"f m v", "f m v\n", "14200000\nUSB\n2400\nVFOA\n"},
                    ReplyCase{"CQRLOG's poll",
                              "+f +m +v\n",
                              "get_freq:\nFrequency: 14200000\nRPRT 0\n"
                              "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n"
                              "get_vfo:\nVFO: VFOA\nRPRT 0\n"},
                    ReplyCase{"set then get", "F 7074000 f\n", "RPRT 0\n7074000\n"},
                    ReplyCase{"mixed forms", "f +v\n", "14200000\nget_vfo:\nVFO: VFOA\nRPRT 0\n"},
                    ReplyCase{"get after unknown dropped", "f X f\n", "14200000\nRPRT -11\n"},
                    ReplyCase{"f VFOA", "f VFOA\n", "14200000\n"},
                    ReplyCase{"F currVFO", "F currVFO 7074000 f\n", "RPRT 0\n7074000\n"},
                    ReplyCase{"m Main", "m Main\n", "USB\n2400\n"},
                    ReplyCase{"plus F VFOA", "+F VFOA 7076000\n", "set_freq: 7076000\nRPRT 0\n"},
                    ReplyCase{"padded F", "F   7074000\n", "RPRT 0\n"},
                    ReplyCase{"carriage return", "f\r\n", "14200000\n"},
                    ReplyCase{"blank line", "\n", ""}, ReplyCase{"blanks", " \t\r\n", ""}),
    CaseName<ReplyCase>);

// F with each kind of value: what the receiver is tuned to, or nothing.
struct FrequencyCase
{
    const char *name;
    QByteArray value;
    std::optional<std::int32_t> tunedTo;
};

void PrintTo(const FrequencyCase &c, std::ostream *out)
{
    *out << c.name;
}

class SetFrequency : public testing::TestWithParam<FrequencyCase>
{
};

TEST_P(SetFrequency, TunesToTheNearestHertzOrChangesNothing)
{
    FakeTuning tuning;
    const FrequencyCase &c = GetParam();
    const QByteArray reply = Answer(tuning, "F " + c.value + "\n");
    if (c.tunedTo) {
        EXPECT_EQ(reply, "RPRT 0\n");
        EXPECT_EQ(tuning.tunedTo, std::vector<std::int32_t>{*c.tunedTo});
        EXPECT_EQ(Answer(tuning, "f\n"), QByteArray::number(*c.tunedTo) + "\n");
    } else {
        EXPECT_EQ(reply, "RPRT -1\n");
        EXPECT_TRUE(tuning.tunedTo.empty());
        EXPECT_EQ(tuning.frequency, 14'200'000);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetFrequency,
    testing::Values(
        FrequencyCase{"whole hertz", "7074000", 7'074'000},
        FrequencyCase{"hamlib decimals", "7074000.000000", 7'074'000},
        FrequencyCase{"plus sign", "+7074000", 7'074'000}, FrequencyCase{"rounds down", "7074000.4", 7'074'000},
        FrequencyCase{"half rounds up", "7074000.5", 7'074'001}, FrequencyCase{"rounds up", "7074000.6", 7'074'001},
        FrequencyCase{"exponent", "7.074055e6", 7'074'055}, FrequencyCase{"capital exponent", "7074E3", 7'074'000},
        FrequencyCase{"fraction only", ".5e5", 50'000}, FrequencyCase{"trailing point", "7074000.", 7'074'000},
        FrequencyCase{"lowest", "50000", 50'000}, FrequencyCase{"rounds up to the lowest", "49999.5", 50'000},
        FrequencyCase{"highest", "70000000", 70'000'000},
        FrequencyCase{"rounds down to the highest", "70000000.4", 70'000'000},
        FrequencyCase{"just below", "49999.4", std::nullopt}, FrequencyCase{"below", "49999", std::nullopt},
        FrequencyCase{"rounds above the highest", "70000000.5", std::nullopt},
        FrequencyCase{"above", "70000001", std::nullopt}, FrequencyCase{"far below", "30000", std::nullopt},
        FrequencyCase{"zero", "0", std::nullopt}, FrequencyCase{"negative", "-7074000", std::nullopt},
        FrequencyCase{"beyond 64 bits", "99999999999999999999", std::nullopt},
        FrequencyCase{"huge exponent", "1e999", std::nullopt}, FrequencyCase{"letters", "abc", std::nullopt},
        FrequencyCase{"trailing letters", "7074000abc", std::nullopt},
        FrequencyCase{"hexadecimal", "0x6BF0D0", std::nullopt}, FrequencyCase{"nan", "nan", std::nullopt},
        FrequencyCase{"inf", "inf", std::nullopt}, FrequencyCase{"thousands separators", "7,074,000", std::nullopt},
        FrequencyCase{"point alone", ".", std::nullopt}, FrequencyCase{"exponent alone", "e5", std::nullopt},
        FrequencyCase{"exponent without digits", "7074e", std::nullopt},
        FrequencyCase{"two signs", "--7074000", std::nullopt}, FrequencyCase{"two points", "7.0.74", std::nullopt}),
    CaseName<FrequencyCase>);

// M with each kind of mode and passband: what is kept, or nothing.
struct ModeCase
{
    const char *name;
    QByteArray arguments;
    std::optional<std::pair<QString, int>> kept;
};

void PrintTo(const ModeCase &c, std::ostream *out)
{
    *out << c.name;
}

class SetMode : public testing::TestWithParam<ModeCase>
{
};

TEST_P(SetMode, KeepsTheLabelAndPassbandOrChangesNothing)
{
    FakeTuning tuning;
    tuning.passband = 2700;
    const ModeCase &c = GetParam();
    EXPECT_EQ(Answer(tuning, "M " + c.arguments + "\n"), c.kept ? "RPRT 0\n" : "RPRT -1\n");
    const std::pair<QString, int> expected = c.kept.value_or(std::pair{QStringLiteral("USB"), 2700});
    EXPECT_EQ(tuning.mode, expected.first);
    EXPECT_EQ(tuning.passband, expected.second);
    EXPECT_TRUE(tuning.tunedTo.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetMode,
    testing::Values(ModeCase{"USB", "USB 2400", std::pair{QStringLiteral("USB"), 2400}},
                    ModeCase{"PKTUSB", "PKTUSB 3000", std::pair{QStringLiteral("PKTUSB"), 3000}},
                    ModeCase{"CW narrow", "CW 500", std::pair{QStringLiteral("CW"), 500}},
                    ModeCase{"hamlib alias", "USB-D 3000", std::pair{QStringLiteral("USB-D"), 3000}},
                    ModeCase{"plus sign", "LSB +1800", std::pair{QStringLiteral("LSB"), 1800}},
                    ModeCase{"normal passband keeps it", "PKTLSB 0", std::pair{QStringLiteral("PKTLSB"), 2700}},
                    ModeCase{"no change keeps it", "AM -1", std::pair{QStringLiteral("AM"), 2700}},
                    ModeCase{"ISB", "ISBLSB 1", std::pair{QStringLiteral("ISBLSB"), 1}},
                    ModeCase{"wide FM", "WFM 230000", std::pair{QStringLiteral("WFM"), 230000}},
                    ModeCase{"lower case", "usb 2400", std::nullopt},
                    ModeCase{"unknown name", "FOO 2400", std::nullopt},
                    ModeCase{"passband not a number", "USB abc", std::nullopt},
                    ModeCase{"passband below -1", "USB -2", std::nullopt},
                    ModeCase{"passband with decimals", "USB 2400.5", std::nullopt},
                    ModeCase{"passband beyond int", "USB 99999999999", std::nullopt},
                    ModeCase{"no passband", "USB", std::nullopt}, ModeCase{"nothing", "", std::nullopt}),
    CaseName<ModeCase>);

} // namespace
