#include "memory_store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The memory file is saved in a loop by another process, which is killed at random moments:
// after every kill the file is one of the two saved versions, whole.
TEST(CrashSafeSave, KilledSaverLeavesAWholeOldOrNewFile)
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
    ASSERT_NE(firstText, secondText);

    std::mt19937 random(20261208);
    int midSave = 0;
    for (int trial = 0; trial < 200; ++trial) {
        QProcess saver;
        saver.start(QStringLiteral(MEMORY_SAVE_LOOP), {path});
        ASSERT_TRUE(saver.waitForStarted());
        // Let it finish a few saves, then kill it a random moment into the next one.
        const int saves = 1 + static_cast<int>(random() % 3);
        QByteArray said;
        while (said.count("saved") < saves) {
            ASSERT_TRUE(saver.waitForReadyRead(10'000)) << "trial " << trial;
            said += saver.readAll();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2'000));
        saver.kill();
        saver.waitForFinished();
        said += saver.readAll();
        // Killed between "saving" and "saved": the save was under way.
        if (said.trimmed().endsWith("saving"))
            ++midSave;

        const QByteArray text = ReadAll(path);
        ASSERT_TRUE(text == firstText || text == secondText)
            << "trial " << trial << ": " << text.size() << " bytes, neither version";
        // A save cut short may leave its unfinished copy beside the file, never in its place.
        for (const QString &other : QDir(folder.path()).entryList(QDir::Files))
            if (other != QStringLiteral("memos.ini"))
                QFile::remove(folder.filePath(other));
    }
    RecordProperty("kills_during_a_save", midSave);
    std::printf("kills that came during a save: %d of 200\n", midSave);
    EXPECT_GT(midSave, 20); // the test must really interrupt saves to prove anything
}
