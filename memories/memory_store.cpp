#include "memory_store.h"

#include "ini_document.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextBoundaryFinder>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString FileName = u"memos.ini"_s;

QString Section(int bank)
{
    return u"bank"_s + QString::number(bank);
}

QString BankNameKey(int bank)
{
    return u"bank_name"_s + QString::number(bank);
}

QString FrequencyKey(int memory)
{
    return u"mem"_s + QString::number(memory);
}

QString TagKey(int memory)
{
    return u"Tag_mem"_s + QString::number(memory);
}

// Writable for this user, and not marked read-only: a file or folder without any write
// permission bit is left alone even by a user who could override that.
bool IsWritable(const QString &path)
{
    const QFileInfo info(path);
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

// The folders that installed programs live in: what is written there belongs to the system, so
// a program installed there keeps its memories in the user's folder even when run as root.
bool IsSystemFolder(const QString &path)
{
    const QString folder = QFileInfo(path).canonicalFilePath() + u'/';
    return folder.startsWith(u"/usr/"_s) || folder.startsWith(u"/bin/"_s) || folder.startsWith(u"/sbin/"_s);
}

// Readable for this user, and not marked unreadable, as IsWritable has it for writing.
bool IsReadable(const QFileInfo &info)
{
    constexpr auto anyRead = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    return info.isFile() && info.isReadable() && (info.permissions() & anyRead);
}

// No text file holds a NUL byte; binary files and random bytes of any length almost always do.
// (Other control characters may stand in a tag; the writer never writes a NUL.)
bool IsText(const QByteArray &bytes)
{
    return !bytes.contains('\0');
}

enum class Field { BankName, Frequency, Tag };

struct Entry
{
    int bank;
    Field field;
    int memory;
    QString section;
    QString key;
};

// The 248 entries of the file, in the order a new file holds them.
const std::vector<Entry> &Entries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> list;
        for (int bank = 1; bank <= BankCount; ++bank) {
            list.push_back({bank, Field::BankName, 0, Section(bank), BankNameKey(bank)});
            for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
                list.push_back({bank, Field::Frequency, memory, Section(bank), FrequencyKey(memory)});
                list.push_back({bank, Field::Tag, memory, Section(bank), TagKey(memory)});
            }
        }
        return list;
    }();
    return entries;
}

template <typename Banks>
auto &FieldOf(Banks &banks, const Entry &entry)
{
    switch (entry.field) {
    case Field::BankName: return banks.names[entry.bank];
    case Field::Frequency: return banks.memories(entry.bank, entry.memory).freq;
    case Field::Tag: break;
    }
    return banks.memories(entry.bank, entry.memory).tag;
}


} // namespace

TMemoryFileContents MemoriesFromText(const QByteArray &fileBytes)
{
    if (!IsText(fileBytes))
        return {TMemoryBanks{}, TFileDamage::NotText};
    const TIniDocument document = TIniDocument::FromBytes(fileBytes);
    TMemoryFileContents contents{TMemoryBanks{}, TFileDamage::NoMemories};
    // A value cut to 255 characters may end in a blank, which the file cannot keep: it goes too,
    // so that a file saved from what was loaded loads the same.
    for (const Entry &entry : Entries()) {
        const std::optional<QString> value = document.Entry(entry.section, entry.key);
        if (!value)
            continue;
        FieldOf(contents.banks, entry) = CutText(*value).trimmed();
        contents.damage = TFileDamage::None;
    }
    return contents;
}

TMemoryBanks BanksFromText(const QByteArray &fileBytes)
{
    return MemoriesFromText(fileBytes).banks;
}

QByteArray TextWithBanks(const QByteArray &fileBytes, const TMemoryBanks &banks)
{
    TIniDocument document = TIniDocument::FromBytes(fileBytes);
    for (const Entry &entry : Entries())
        document.SetValue(entry.section, entry.key, FieldOf(banks, entry));
    return document.ToBytes();
}

QByteArray TextWithMemory(const QByteArray &fileBytes, int bank, int memory, const TMemSlot &slot)
{
    TIniDocument document = TIniDocument::FromBytes(fileBytes);
    document.SetValue(Section(bank), FrequencyKey(memory), slot.freq);
    document.SetValue(Section(bank), TagKey(memory), slot.tag);
    return document.ToBytes();
}

QString CutText(const QString &text)
{
    if (text.size() <= TShortText::MaxLength)
        return text;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (characters.toNextBoundary() != -1)
        if (++count == TShortText::MaxLength)
            return text.left(characters.position());
    return text;
}

EIniFileException::EIniFileException(const QString &path)
    : std::runtime_error((u"Unable to write to "_s + QDir::toNativeSeparators(path)).toStdString())
{
}

TMemoryFile::TMemoryFile(QString path)
    : path(std::move(path))
{
}

TMemoryFile TMemoryFile::ForProgramIn(const QString &programDirectory)
{
    const QString besideProgram = QDir(programDirectory).absoluteFilePath(FileName);
    if (QFileInfo::exists(besideProgram) || (IsWritable(programDirectory) && !IsSystemFolder(programDirectory)))
        return TMemoryFile(besideProgram);
    const QString configuration = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return TMemoryFile(QDir(configuration).absoluteFilePath(FileName));
}

bool TMemoryFile::Exists() const
{
    return QFileInfo::exists(path);
}

TMemoryBanks TMemoryFile::Load() const
{
    return Read().banks;
}

TMemoryFileContents TMemoryFile::Read() const
{
    QByteArray bytes;
    if (!ReadBytes(bytes))
        return {TMemoryBanks{}, Exists() ? TFileDamage::Unreadable : TFileDamage::None};
    return MemoriesFromText(bytes);
}

bool TMemoryFile::ReadBytes(QByteArray &bytes) const
{
    QFile file(path);
    if (!IsReadable(QFileInfo(path)) || !file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

void TMemoryFile::Save(const TMemoryBanks &banks) const
{
    CheckWritable();
    Write(TextWithBanks(TextToBuildOn(), banks));
}

void TMemoryFile::StoreMemory(int bank, int memory, const TMemSlot &slot) const
{
    CheckWritable();
    Write(TextWithMemory(TextToBuildOn(), bank, memory, slot));
}

// What the file holds besides the memories is kept; a damaged file is kept whole beside the new
// one, so nothing it held is lost.
QByteArray TMemoryFile::TextToBuildOn() const
{
    QByteArray bytes;
    const bool read = ReadBytes(bytes);
    if (!read && !Exists())
        return {};
    if (read && MemoriesFromText(bytes).damage == TFileDamage::None)
        return bytes;
    if (!QFile::rename(path, KeptPath()))
        throw EIniFileException(path);
    return {};
}

QString TMemoryFile::KeptPath() const
{
    QString kept = path + u".damaged"_s;
    for (int n = 2; QFileInfo(kept).exists() || QFileInfo(kept).isSymLink(); ++n)
        kept = path + u".damaged."_s + QString::number(n);
    return kept;
}

void TMemoryFile::CreateWithDefaults() const
{
    CheckWritable();
    Write(TextWithBanks(QByteArray(), Defaults()));
}

TMemoryBanks TMemoryFile::Defaults()
{
    TMemoryBanks banks;
    for (int bank = 1; bank <= BankCount; ++bank) {
        banks.names[bank] = u"BANK "_s + QString::number(bank);
        for (int memory = 1; memory <= MemoriesPerBank; ++memory)
            banks.memories(bank, memory).tag = u"MEM "_s + QString::number(memory);
    }
    return banks;
}

void TMemoryFile::CheckWritable() const
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    if ((QFileInfo::exists(path) && !IsWritable(path)) || !IsWritable(folder))
        throw EIniFileException(path);
}

void TMemoryFile::Write(const QByteArray &text) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) < 0 || !file.commit())
        throw EIniFileException(path);
}
