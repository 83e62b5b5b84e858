#include "memory_exchange.h"

#include "csv_rows.h"
#include "station_reader.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList Header{u"bank"_s, u"bank_name"_s, u"memory"_s, u"tag"_s, u"frequency_hz"_s};

// gqrx splits on ';' and lines, and trims its fields: those cannot be in its names.
QString ForGqrx(const QString &text)
{
    QString plain = text;
    for (QChar &c : plain)
        if (c == u';' || c == u'\n' || c == u'\r')
            c = u' ';
    return plain.trimmed();
}

} // namespace

QByteArray MemoriesCsv(const TMemoryBanks &banks)
{
    QByteArray csv = CsvRecord(Header);
    for (int bank = 1; bank <= BankCount; ++bank)
        for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
            const TMemSlot &slot = banks.memories(bank, memory);
            csv += CsvRecord({QString::number(bank), banks.names[bank], QString::number(memory), slot.tag, slot.freq});
        }
    return csv;
}

QByteArray MemoriesGqrx(const TMemoryBanks &banks)
{
    QByteArray text = "# Tag name          ;  color\n";
    for (int bank = 1; bank <= BankCount; ++bank)
        text += ForGqrx(banks.names[bank]).toUtf8() + "; #c0c0c0\n";
    text += "\n# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n";
    for (int bank = 1; bank <= BankCount; ++bank)
        for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
            const TMemSlot &slot = banks.memories(bank, memory);
            bool number = false;
            const qint64 hertz = slot.freq.str().trimmed().toLongLong(&number);
            if (!number || hertz <= 0)
                continue;
            text += QByteArray::number(hertz) + "; " + ForGqrx(slot.tag).toUtf8() + "; AM; 5000; " +
                    ForGqrx(banks.names[bank]).toUtf8() + '\n';
        }
    return text;
}

TMemoriesRead MemoriesFromCsv(const QByteArray &csv)
{
    TMemoriesRead read;
    bool header = true;
    QSet<int> seen;
    QList<bool> named(BankCount + 1, false);
    // The first fault found is the one reported; the rows after it are not looked at.
    const QString failure = ForEachCsvRow(csv, TCsvDialect{}, [&](const TCsvRow &row) {
        if (!read.error.isEmpty())
            return;
        QStringList fields;
        for (qsizetype i = 0; i < row.size(); ++i)
            fields << row.Text(i);
        if (std::exchange(header, false)) {
            if (fields != Header)
                read.error = u"Not the memories' CSV: its first line is not bank,bank_name,memory,tag,frequency_hz"_s;
            return;
        }
        bool bankNumber = false, memoryNumber = false;
        const int bank = fields.value(0).toInt(&bankNumber);
        const int memory = fields.value(2).toInt(&memoryNumber);
        if (fields.size() != Header.size() || !bankNumber || !memoryNumber || bank < 1 || bank > BankCount ||
            memory < 1 || memory > MemoriesPerBank) {
            read.error = u"line %1: not a bank 1-8 and memory 1-15 with a name, tag and frequency"_s.arg(row.line);
            return;
        }
        if (seen.contains(bank * 100 + memory)) {
            read.error = u"line %1: bank %2 memory %3 a second time"_s.arg(row.line).arg(bank).arg(memory);
            return;
        }
        seen.insert(bank * 100 + memory);
        if (named[bank] && read.banks.names[bank].str() != TShortText(fields[1]).str()) {
            read.error = u"line %1: bank %2 has another name than on its first line"_s.arg(row.line).arg(bank);
            return;
        }
        named[bank] = true;
        read.banks.names[bank] = fields[1];
        read.banks.memories(bank, memory) = TMemSlot{fields[4], fields[3]};
    });
    if (read.error.isEmpty() && !failure.isEmpty())
        read.error = failure;
    if (read.error.isEmpty() && header)
        read.error = u"The file is empty"_s;
    if (read.error.isEmpty() && seen.size() != BankCount * MemoriesPerBank)
        read.error = u"%1 of the 120 memories are missing"_s.arg(BankCount * MemoriesPerBank - seen.size());
    return read;
}

QStringList MemoryChanges(const TMemoryBanks &from, const TMemoryBanks &to)
{
    QStringList changes;
    for (int bank = 1; bank <= BankCount; ++bank) {
        if (from.names[bank] != to.names[bank])
            changes << u"bank %1 name: %2 -> %3"_s.arg(bank).arg(from.names[bank].str(), to.names[bank].str());
        for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
            const TMemSlot &a = from.memories(bank, memory);
            const TMemSlot &b = to.memories(bank, memory);
            if (a != b)
                changes << u"bank %1 memory %2: %3 %4 -> %5 %6"_s.arg(bank).arg(memory).arg(a.freq.str(), a.tag.str(),
                                                                                            b.freq.str(), b.tag.str());
        }
    }
    return changes;
}

TMemoryImport ImportedMemories(const QString &csvPath, const TMemoryFile &memories)
{
    TMemoryImport import;
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        import.error = u"Cannot read %1: %2"_s.arg(QDir::toNativeSeparators(csvPath), file.errorString());
        return import;
    }
    const TMemoriesRead read = MemoriesFromCsv(file.readAll());
    if (!read.error.isEmpty()) {
        import.error = QDir::toNativeSeparators(csvPath) + u": "_s + read.error;
        return import;
    }
    const TMemoryFileContents current = memories.Read();
    import.banks = read.banks;
    import.changes = MemoryChanges(current.banks, read.banks);
    import.damaged = current.damage != TFileDamage::None;
    return import;
}
