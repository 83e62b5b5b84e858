#include "rigctl_command.h"

#include <algorithm>
#include <array>

namespace {

using enum TRigctlVerb;

constexpr auto Spellings = std::to_array<TRigctlVerbSpelling>({
    {GetFreq, 'f', "get_freq", false, 0, true},
    {SetFreq, 'F', "set_freq", false, 1, true},
    {GetMode, 'm', "get_mode", false, 0, true},
    {SetMode, 'M', "set_mode", false, 2, true},
    {GetVfo, 'v', "get_vfo", false, 0, false},
    {SetVfo, 'V', "set_vfo", false, 1, false},
    {GetPtt, 't', "get_ptt", false, 0, true},
    {SetPtt, 'T', "set_ptt", false, 1, true},
    {GetSplitVfo, 's', "get_split_vfo", false, 0, true},
    {SetSplitVfo, 'S', "set_split_vfo", false, 2, true},
    {CheckVfo, 0, "chk_vfo", false, 0, false},
    {DumpState, 0, "dump_state", false, 0, false},
    {DumpCaps, 0, "dump_caps", false, 0, false},
    {GetPowerStat, 0, "get_powerstat", false, 0, false},
    {GetLockMode, 0, "get_lock_mode", false, 0, false},
    {SetVfoOption, 0, "set_vfo_opt", false, 1, false},
    {GetInfo, '_', "get_info", false, 0, false},
    {SatelliteRise, 0, "AOS", true, 0, false},
    {SatelliteSet, 0, "LOS", true, 0, false},
    {Quit, 'q', "", false, 0, false},
    {Quit, 'Q', "", false, 0, false},
});

constexpr auto VfoNames = std::to_array<std::string_view>({"VFOA", "VFOB", "VFOC", "currVFO", "VFO", "MEM", "Main",
                                                          "Sub", "TX", "RX", "MainA", "MainB", "MainC", "SubA",
                                                          "SubB", "SubC", "otherVFO"});

std::string_view View(QByteArrayView bytes)
{
    return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
}

// Any ASCII punctuation asks for an extended reply, except the characters that start commands or
// comments of their own in hamlib.
bool IsExtendedPrefix(char c)
{
    const bool punctuation = (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
                             (c >= '{' && c <= '~');
    return punctuation && c != '\\' && c != '_' && c != '#' && c != '(' && c != ')';
}

// Walks through one line.
class LineReader
{
public:
    explicit LineReader(QByteArrayView line)
        : line(line)
    {
    }

    bool AtEnd() const { return position >= line.size(); }
    char Peek() const { return line[position]; }
    void Skip(qsizetype count) { position += count; }
    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(Peek()))
            ++position;
    }
    // The characters up to the next blank or the end.
    QByteArrayView Word() const
    {
        qsizetype end = position;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        return line.sliced(position, end - position);
    }

private:
    QByteArrayView line;
    qsizetype position = 0;
};

const TRigctlVerbSpelling *FindSpelling(LineReader &reader)
{
    const std::string_view word = View(reader.Word());
    for (const TRigctlVerbSpelling &spelling : Spellings)
        if (spelling.bareWord && word == spelling.longName) {
            reader.Skip(static_cast<qsizetype>(word.size()));
            return &spelling;
        }
    if (word.starts_with('\\')) {
        reader.Skip(static_cast<qsizetype>(word.size()));
        const std::string_view name = word.substr(1);
        const auto *found = std::ranges::find_if(Spellings, [&](const TRigctlVerbSpelling &spelling) {
            return !spelling.bareWord && !spelling.longName.empty() && spelling.longName == name;
        });
        return found == Spellings.end() ? nullptr : found;
    }
    const char letter = reader.Peek();
    reader.Skip(1);
    const auto *found = std::ranges::find_if(Spellings, [&](const TRigctlVerbSpelling &spelling) {
        return spelling.letter != 0 && spelling.letter == letter;
    });
    return found == Spellings.end() ? nullptr : found;
}

} // namespace

const TRigctlVerbSpelling &SpellingOf(TRigctlVerb verb)
{
    return *std::ranges::find(Spellings, verb, &TRigctlVerbSpelling::verb);
}

bool IsVfoName(QByteArrayView word)
{
    return std::ranges::find(VfoNames, View(word)) != VfoNames.end();
}

std::vector<TRigctlCommand> ReadRigctlLine(QByteArrayView line)
{
    std::vector<TRigctlCommand> commands;
    LineReader reader(line);
    for (reader.SkipBlanks(); !reader.AtEnd(); reader.SkipBlanks()) {
        TRigctlCommand command;
        if (IsExtendedPrefix(reader.Peek())) {
            command.separator = reader.Peek() == '+' ? '\n' : reader.Peek();
            reader.Skip(1);
        }
        const TRigctlVerbSpelling *spelling =
            reader.AtEnd() || IsBlank(reader.Peek()) ? nullptr : FindSpelling(reader);
        if (spelling == nullptr) {
            commands.push_back(command);
            break;
        }
        command.verb = spelling->verb;
        // A VFO word stands apart; letters run on are commands ("fmv").
        if (spelling->takesVfoWord && !reader.AtEnd() && IsBlank(reader.Peek())) {
            reader.SkipBlanks();
            if (!reader.AtEnd() && IsVfoName(reader.Word()))
                reader.Skip(reader.Word().size());
        }
        for (int i = 0; i < spelling->argumentCount; ++i) {
            reader.SkipBlanks();
            if (reader.AtEnd())
                break;
            const QByteArrayView argument = reader.Word();
            command.arguments << argument.toByteArray();
            reader.Skip(argument.size());
        }
        commands.push_back(command);
    }
    return commands;
}
