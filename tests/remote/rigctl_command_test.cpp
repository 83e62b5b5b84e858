#include "case_names.h"
#include "rigctl_command.h"

#include <gtest/gtest.h>

#include <ostream>

using enum TRigctlVerb;

void PrintTo(const TRigctlCommand &command, std::ostream *out)
{
    *out << "{verb " << (command.verb ? static_cast<int>(*command.verb) : -1) << ", separator "
         << static_cast<int>(command.separator) << ", arguments";
    for (const QByteArray &argument : command.arguments)
        *out << " '" << argument.toStdString() << "'";
    *out << "}";
}

namespace {

TRigctlCommand Plain(TRigctlVerb verb, QList<QByteArray> arguments = {})
{
    return TRigctlCommand{verb, 0, std::move(arguments)};
}

TRigctlCommand Extended(char separator, TRigctlVerb verb, QList<QByteArray> arguments = {})
{
    return TRigctlCommand{verb, separator, std::move(arguments)};
}

TRigctlCommand Unknown(char separator = 0)
{
    return TRigctlCommand{std::nullopt, separator, {}};
}

struct LineCase
{
    const char *name;
    QByteArray line;
    std::vector<TRigctlCommand> commands;
};

void PrintTo(const LineCase &c, std::ostream *out)
{
    *out << c.name;
}

class ReadingLines : public testing::TestWithParam<LineCase>
{
};

// Every command's short and long spelling is read through the reply tables; these cases are
// about how a line falls apart into commands.
TEST_P(ReadingLines, GiveTheCommandsWritten)
{
    EXPECT_EQ(ReadRigctlLine(GetParam().line), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    ExtendedForms, ReadingLines,
    testing::Values(LineCase{"plus", "+f", {Extended('\n', GetFreq)}},
                    LineCase{"semicolon", ";f", {Extended(';', GetFreq)}},
                    LineCase{"bar, long name", "|\\get_freq", {Extended('|', GetFreq)}},
                    LineCase{"comma with arguments", ",F 7074000", {Extended(',', SetFreq, {"7074000"})}},
                    LineCase{"plus chk_vfo", "+\\chk_vfo", {Extended('\n', CheckVfo)}},
                    LineCase{"star", "*m", {Extended('*', GetMode)}},
                    LineCase{"prefix alone", "+", {Unknown('\n')}},
                    LineCase{"prefix then a blank", "+ f", {Unknown('\n')}},
                    LineCase{"hash is no prefix", "#f", {Unknown()}},
                    LineCase{"parenthesis is no prefix", "(f", {Unknown()}}),
    CaseName<LineCase>);

INSTANTIATE_TEST_SUITE_P(
    CompoundLines, ReadingLines,
    testing::Values(LineCase{"letters run together", "fmv", {Plain(GetFreq), Plain(GetMode), Plain(GetVfo)}},
                    LineCase{"letters with blanks", "f m v", {Plain(GetFreq), Plain(GetMode), Plain(GetVfo)}},
                    LineCase{"CQRLOG's poll",
                             "+f +m +v",
                             {Extended('\n', GetFreq), Extended('\n', GetMode), Extended('\n', GetVfo)}},
                    LineCase{"set then get", "F 7074000 f", {Plain(SetFreq, {"7074000"}), Plain(GetFreq)}},
                    LineCase{"long then short", "\\chk_vfo f", {Plain(CheckVfo), Plain(GetFreq)}},
                    LineCase{"quit is read like any other", "q f", {Plain(Quit), Plain(GetFreq)}},
                    LineCase{"unknown ends the line", "f X f", {Plain(GetFreq), Unknown()}},
                    LineCase{"unknown glued", "fXf", {Plain(GetFreq), Unknown()}},
                    LineCase{"unknown long name", "\\foo f", {Unknown()}},
                    LineCase{"long names need the backslash", "get_freq", {Unknown()}},
                    LineCase{"AOS only as a word", "AOSf", {Unknown()}},
                    LineCase{"AOS not after a backslash", "\\AOS", {Unknown()}},
                    LineCase{"quit has no long name", "\\quit", {Unknown()}},
                    LineCase{"a lone backslash", "\\", {Unknown()}},
                    LineCase{"nul byte", QByteArray("\0f", 2), {Unknown()}},
                    LineCase{"empty", "", {}}, LineCase{"blanks only", " \t\r ", {}}),
    CaseName<LineCase>);

INSTANTIATE_TEST_SUITE_P(
    BlanksAndVfoWords, ReadingLines,
    testing::Values(LineCase{"padded F (gpredict)", "F   7074000", {Plain(SetFreq, {"7074000"})}},
                    LineCase{"tab and carriage return", "F\t7074000\r", {Plain(SetFreq, {"7074000"})}},
                    LineCase{"leading blanks", "   f", {Plain(GetFreq)}},
                    LineCase{"argument glued to the letter", "F7074000", {Plain(SetFreq, {"7074000"})}},
                    LineCase{"f VFOA", "f VFOA", {Plain(GetFreq)}},
                    LineCase{"F currVFO", "F currVFO 7074000", {Plain(SetFreq, {"7074000"})}},
                    LineCase{"F VFOA with decimals (hamlib 4.5 with VFO words)",
                             "F VFOA 14075055.000000",
                             {Plain(SetFreq, {"14075055.000000"})}},
                    LineCase{"M Main", "M Main USB 2400", {Plain(SetMode, {"USB", "2400"})}},
                    LineCase{"t VFOA then v", "t VFOA v", {Plain(GetPtt), Plain(GetVfo)}},
                    LineCase{"S with a VFO word first", "S VFOA 0 VFOA", {Plain(SetSplitVfo, {"0", "VFOA"})}},
                    LineCase{"V keeps its VFO", "V VFOB", {Plain(SetVfo, {"VFOB"})}},
                    LineCase{"extended with a VFO word", "+F VFOA 7076000", {Extended('\n', SetFreq, {"7076000"})}},
                    LineCase{"no VFO word without a blank", "fMain", {Plain(GetFreq), Plain(SetMode, {"ain"})}},
                    LineCase{"missing argument", "F", {Plain(SetFreq)}},
                    LineCase{"missing passband", "M USB", {Plain(SetMode, {"USB"})}},
                    LineCase{"a command taken as the argument", "F f", {Plain(SetFreq, {"f"})}}),
    CaseName<LineCase>);

TEST(VfoNames, AreHamlibsOwnSpellings)
{
    for (const char *name : {"VFOA", "VFOB", "VFOC", "currVFO", "VFO", "MEM", "Main", "Sub", "TX", "RX", "MainA",
                             "MainB", "MainC", "SubA", "SubB", "SubC", "otherVFO"})
        EXPECT_TRUE(IsVfoName(name)) << name;
    for (const char *word : {"vfoa", "VFOD", "", "USB", "7074000", "main"})
        EXPECT_FALSE(IsVfoName(word)) << word;
}

} // namespace
