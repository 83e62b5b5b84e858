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

TMemoryBanks BanksFromText(const QByteArray &fileBytes)
{
    const TIniDocument document = TIniDocument::FromBytes(fileBytes);
    TMemoryBanks banks;
    // A value cut to 255 characters may end in a blank, which the file cannot keep: it goes too,
    // so that a file saved from what was loaded loads the same.
    for (const Entry &entry : Entries())
        FieldOf(banks, entry) = CutText(document.Value(entry.section, entry.key)).trimmed();
    return banks;
}

QByteArray TextWithBanks(const QByteArray &fileBytes, const TMemoryBanks &banks)
{
    TIniDocument document = TIniDocument::FromBytes(fileBytes);
    for (const Entry &entry : Entries())
        document.SetValue(entry.section, entry.key, FieldOf(banks, entry));
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
    QFile file(path);
    return BanksFromText(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

void TMemoryFile::Save(const TMemoryBanks &banks) const
{
    QFile existing(path);
    QByteArray text;
    if (existing.exists()) {
        // What the file holds besides the memories is kept, so a file that cannot be read is
        // not overwritten.
        if (!existing.open(QIODevice::ReadOnly))
            throw EIniFileException(path);
        text = existing.readAll();
    }
    Write(TextWithBanks(text, banks));
}

void TMemoryFile::CreateWithDefaults() const
{
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

void TMemoryFile::Write(const QByteArray &text) const
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    if ((QFileInfo::exists(path) && !IsWritable(path)) || !IsWritable(folder))
        throw EIniFileException(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) < 0 || !file.commit())
        throw EIniFileException(path);
}
