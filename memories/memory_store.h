#pragma once

#include <QString>

#include <array>
#include <stdexcept>

// The first 255 characters of a text; a cut never splits a character.
QString CutText(const QString &text);

// A text of at most 255 characters: anything longer is cut when it is put in.
class TShortText
{
public:
    TShortText() = default;
    TShortText(const QString &text) // NOLINT(google-explicit-constructor): assigned from texts everywhere
        : text(CutText(text))
    {
    }
    operator const QString &() const { return text; } // NOLINT(google-explicit-constructor)
    const QString &str() const { return text; }
    bool operator==(const TShortText &other) const = default;

    static constexpr int MaxLength = 255;

private:
    QString text;
};

// One memory: its frequency text, exactly as typed, and its tag.
struct TMemSlot
{
    TShortText freq;
    TShortText tag;
    bool operator==(const TMemSlot &other) const = default;
};

constexpr int BankCount = 8;
constexpr int MemoriesPerBank = 15;

// Memories by bank 1..8 and memory 1..15.
class TMemTable
{
public:
    TMemSlot &operator()(int bank, int memory) { return entries.at(Index(bank, memory)); }
    const TMemSlot &operator()(int bank, int memory) const { return entries.at(Index(bank, memory)); }
    bool operator==(const TMemTable &other) const = default;

private:
    static std::size_t Index(int bank, int memory)
    {
        if (bank < 1 || bank > BankCount || memory < 1 || memory > MemoriesPerBank)
            throw std::out_of_range("memory index out of range");
        return static_cast<std::size_t>((bank - 1) * MemoriesPerBank + (memory - 1));
    }
    std::array<TMemSlot, BankCount * MemoriesPerBank> entries{};
};

// Bank names by bank 1..8.
class TBankNames
{
public:
    TShortText &operator[](int bank) { return names.at(Index(bank)); }
    const TShortText &operator[](int bank) const { return names.at(Index(bank)); }
    bool operator==(const TBankNames &other) const = default;

private:
    static std::size_t Index(int bank)
    {
        if (bank < 1 || bank > BankCount)
            throw std::out_of_range("bank index out of range");
        return static_cast<std::size_t>(bank - 1);
    }
    std::array<TShortText, BankCount> names{};
};

// What the memory file holds for the program: eight bank names and 120 memories.
struct TMemoryBanks
{
    TBankNames names;
    TMemTable memories;
    bool operator==(const TMemoryBanks &other) const = default;
};

// Why a file cannot serve as a memory file: it cannot be read, it is not text (it holds a NUL
// byte, as binary files do), or it holds none of the memory entries.
enum class TFileDamage { None, Unreadable, NotText, NoMemories };

// What a memory file holds, and whether it is one.
struct TMemoryFileContents
{
    TMemoryBanks banks;
    TFileDamage damage = TFileDamage::None;
};

// The memories a memory file's bytes hold, every value cut to 255 characters; missing entries
// read as empty texts.
TMemoryFileContents MemoriesFromText(const QByteArray &fileBytes);
TMemoryBanks BanksFromText(const QByteArray &fileBytes);
// The bytes of a memory file after all 248 entries of `banks` are written into `fileBytes`,
// keeping whatever else it holds.
QByteArray TextWithBanks(const QByteArray &fileBytes, const TMemoryBanks &banks);
// The same with the two entries of one memory (its frequency and tag) alone.
QByteArray TextWithMemory(const QByteArray &fileBytes, int bank, int memory, const TMemSlot &slot);

// A failed write of the memory file; its text is "Unable to write to " and the file's path.
class EIniFileException : public std::runtime_error
{
public:
    explicit EIniFileException(const QString &path);
};

// The memory file, memos.ini: sections bank1..bank8, each with bank_nameN, then mem1, Tag_mem1,
// ... mem15, Tag_mem15. Every operation reads the file once and writes it at most once.
class TMemoryFile
{
public:
    explicit TMemoryFile(QString path);

    // memos.ini beside the executable, in `programDirectory`, when one is there or that folder is
    // writable and not a system folder (/usr/..., /bin, /sbin); otherwise, for a program installed
    // where the user cannot or should not write, memos.ini in the user's configuration folder.
    static TMemoryFile ForProgramIn(const QString &programDirectory);

    const QString &Path() const { return path; }
    bool Exists() const;

    // Every value the file holds, each cut to 255 characters; a missing file, section or key,
    // or a file that cannot be read, gives empty texts.
    TMemoryBanks Load() const;
    // The same, and whether the file is damaged; a missing file is not.
    TMemoryFileContents Read() const;
    // Writes all 248 entries, keeping whatever else the file holds. The new text goes to a file
    // beside the old one that then replaces it, so a failure leaves the old file whole. A
    // damaged file is first moved aside (KeptPath), and the new one starts empty.
    void Save(const TMemoryBanks &banks) const;
    // Writes the frequency and tag of one memory alone, as Save writes them all.
    void StoreMemory(int bank, int memory, const TMemSlot &slot) const;
    // A new file with the defaults: "BANK N", empty frequencies, "MEM J".
    void CreateWithDefaults() const;
    // Where a damaged file is kept: memos.ini.damaged, or memos.ini.damaged.2 and on when that
    // is taken, so an earlier copy is never overwritten.
    QString KeptPath() const;

    static TMemoryBanks Defaults();

private:
    // The file's bytes; false when it is missing or cannot be read.
    bool ReadBytes(QByteArray &bytes) const;
    // The text a save builds on: the file's own, or none when it is missing or damaged; a
    // damaged one is moved aside first.
    QByteArray TextToBuildOn() const;
    // Throws unless the file can be written; every write asks first, before anything is touched.
    void CheckWritable() const;
    void Write(const QByteArray &text) const;

    QString path;
};
