#include "list_commands.h"

#include "memory_exchange.h"
#include "memory_store.h"
#include "station_store.h"

#include <QDir>
#include <QSaveFile>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

class EListCommand : public std::runtime_error
{
public:
    explicit EListCommand(const QString &text)
        : std::runtime_error(text.toStdString())
    {
    }
};

void Write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EListCommand(u"Unable to write to "_s + QDir::toNativeSeparators(path));
}

QString ExportStations(const QString &path, const TStationStore &store)
{
    QList<TStation> all;
    for (const TStationStore::TList &list : store.Lists())
        all += list.read.stations;
    Write(path, StationsCsv(all));
    return u"Exported %1 to %2"_s.arg(Counted(all.size(), u"station"_s), QDir::toNativeSeparators(path));
}

QString ExportMemories(const QString &path, const TMemoryFile &memories)
{
    const TMemoryFileContents contents = memories.Read();
    if (contents.damage != TFileDamage::None)
        throw EListCommand(u"The memory file %1 cannot be read as one"_s.arg(QDir::toNativeSeparators(memories.Path())));
    Write(path, MemoriesCsv(contents.banks));
    return u"Exported 120 memories of %1 to %2"_s.arg(QDir::toNativeSeparators(memories.Path()),
                                                      QDir::toNativeSeparators(path));
}

QString ImportMemories(const TListCommand &command, const TMemoryFile &memories)
{
    const TMemoryImport read = ImportedMemories(command.path, memories);
    if (!read.error.isEmpty())
        throw EListCommand(read.error);
    const QStringList &changes = read.changes;
    if (changes.isEmpty() && !read.damaged)
        return u"Nothing to change: %1 holds those memories"_s.arg(QDir::toNativeSeparators(memories.Path()));
    QString said = changes.join(u'\n') + u'\n';
    if (!command.yes)
        return said + u"%1; nothing written (add --yes to write them)"_s.arg(Counted(changes.size(), u"change"_s));
    memories.Save(read.banks);
    return said + u"%1 written to %2"_s.arg(Counted(changes.size(), u"change"_s), QDir::toNativeSeparators(memories.Path()));
}

} // namespace

int RunListCommand(const TListCommand &command, const QString &programDirectory, const QString &stationsFolder,
                   QString &output, QString &error)
{
    try {
        TStationStore store(stationsFolder);
        const TMemoryFile memories = TMemoryFile::ForProgramIn(programDirectory);
        switch (command.kind) {
        case TListCommand::TKind::ImportStations: {
            QString summary;
            const TStationRead read = store.Import(command.path, summary);
            if (!read.error.isEmpty())
                throw EListCommand(summary);
            output = summary + u'\n';
            break;
        }
        case TListCommand::TKind::ExportStations: output = ExportStations(command.path, store) + u'\n'; break;
        case TListCommand::TKind::ExportMemories: output = ExportMemories(command.path, memories) + u'\n'; break;
        case TListCommand::TKind::ImportMemories: output = ImportMemories(command, memories) + u'\n'; break;
        }
        return 0;
    } catch (const std::exception &failure) {
        error = u"corvex: "_s + QString::fromUtf8(failure.what()) + u'\n';
        return 1;
    }
}
