#include "memory_store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The memory file is saved in a loop by another process, which is stopped in the middle of a write
// at a random byte and killed there: the file is then the version before that save, whole.
TEST(CrashSafeSave, SaverKilledInTheMiddleOfAWriteLeavesTheOldFileWhole)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("memos.ini"));

    // The two versions the saver writes by turns, made the same way here.
    TMemoryBanks second = TMemoryFile::Defaults();
    for (int bank = 1; bank <= BankCount; ++bank)
        for (int memory = 1; memory <= MemoriesPerBank; ++memory)
            second.memories(bank, memory).freq = QString::number(7'000'000 + bank * 100'000 + memory * 1'000);
    const QByteArray firstText = TextWithBanks(QByteArray(), TMemoryFile::Defaults());
    const QByteArray secondText = TextWithBanks(firstText, second);
    ASSERT_LT(firstText.size(), secondText.size());

    std::mt19937 random(20261208);
    for (int trial = 0; trial < 200; ++trial) {
        // The file holds the second version and the saver writes the first: a cut within the first
        // version's size stops that save, a later one the save of the second version after it.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(secondText);
        file.close();
        const auto cut = static_cast<qsizetype>(random() % static_cast<unsigned>(secondText.size()));
        QProcess saver;
        saver.start(QStringLiteral(MEMORY_SAVE_LOOP), {path, QString::number(cut)});
        ASSERT_TRUE(saver.waitForStarted());
        QByteArray said;
        while (!said.contains("cut")) {
            ASSERT_TRUE(saver.waitForReadyRead(10'000)) << "trial " << trial << ": no write reached byte " << cut;
            said += saver.readAll();
        }
        saver.kill();
        saver.waitForFinished();

        const QByteArray text = ReadAll(path);
        const QByteArray &before = cut < firstText.size() ? secondText : firstText;
        ASSERT_TRUE(text == before) << "trial " << trial << ", cut at byte " << cut << ": " << text.size()
                                    << " bytes, not the " << before.size() << " of the version before";
        // A save cut short may leave its unfinished copy beside the file, never in its place.
        for (const QString &other : QDir(folder.path()).entryList(QDir::Files))
            if (other != QStringLiteral("memos.ini"))
                QFile::remove(folder.filePath(other));
    }
}
