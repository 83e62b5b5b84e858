#include "bookmarks_sample.h"
#include "program_rig.h"
#include "station_lists.h"
#include "stations_window.h"
#include "store_memory_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace {

// The program with its stations window over lists kept in a folder of the test's own: what the
// window asks of the main window, the main window does.
class StationsWindowTest : public MainWindowRig
{
protected:
    void StartWithList(const QByteArray &list)
    {
        const QString path = folder.filePath(u"bookmarks.csv"_s);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(list);
        file.close();
        program.emplace(port, folder.path(), TProgramOptions{}, folder.filePath(u"settings.ini"_s), nullptr,
                        folder.filePath(u"stations"_s));
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
        Window().Import(path);
        ASSERT_TRUE(Loaded());
    }
    TStationsWindow &Window() { return program->Stations->Window(); }
    // The lists are read on a thread of their own.
    bool Loaded() { return QTest::qWaitFor([this] { return !Window().Loading(); }); }
};

} // namespace

// Enter tunes as a recall does, and going back to the main window keeps that tuning; "Store in
// memory…" proposes the station's name and writes the memory file.
TEST_F(StationsWindowTest, EnterTunesAndStoreKeepsTheStationInAMemory)
{
    StartWithList(BookmarksSample);
    Window().show();
    ASSERT_TRUE(WaitUntilActive(Window()));
    Window().View->setFocus();
    Window().View->setCurrentIndex(Window().Table.index(2, 0));
    QTest::keyClick(Window().View, Qt::Key_Return);
    EXPECT_EQ(Form1().frecuencia, 7'100'000);
    EXPECT_EQ(SentFrequency(), 7'100'000);
    Form1().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    EXPECT_EQ(Form1().frecuencia, 7'100'000);

    Window().StoreButton->click();
    auto *dialog = Form1().findChild<TStoreMemoryDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Tag(), u"Radio \"Seven\" #1"_s);
    dialog->MemoryBox->setCurrentIndex(4);
    EXPECT_EQ(dialog->Tag(), u"Radio \"Seven\" #1"_s);
    dialog->OnStore();
    EXPECT_TRUE(ReadMemoryFile().contains("mem5=7100000\nTag_mem5=Radio \"Seven\" #1\n")) << ReadMemoryFile().toStdString();
    EXPECT_EQ(Form1().memorias(Form1().banco, 5).tag.str(), u"Radio \"Seven\" #1"_s);
}

// Memories exported from the stations window come back through it only after the user has seen
// what changes: Cancel writes nothing, OK writes the file and the main window shows it.
TEST_F(StationsWindowTest, ImportedMemoriesAreWrittenOnlyAfterOk)
{
    StartWithList(BookmarksSample);
    const QString csv = folder.filePath(u"memories.csv"_s);
    Window().ExportMemories(csv, false);
    QByteArray changed = [&csv] {
        QFile file(csv);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    changed.replace("1,BANK 1,3,MEM 3,\r\n", "1,BANK 1,3,WWV,10000000\r\n");
    const QString edited = folder.filePath(u"edited.csv"_s);
    QFile out(edited);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(changed);
    out.close();
    const QByteArray before = ReadMemoryFile();

    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        Window().ImportMemories(edited);
        auto *question = Window().findChild<QMessageBox *>(u"memoryChanges"_s);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->text(), u"Write 1 change to the memory file?"_s);
        EXPECT_EQ(question->detailedText(), u"bank 1 memory 3:  MEM 3 -> 10000000 WWV"_s);
        question->done(button);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(Loaded());
        if (button == QMessageBox::Cancel) {
            EXPECT_EQ(ReadMemoryFile(), before);
        }
    }
    EXPECT_TRUE(ReadMemoryFile().contains("mem3=10000000\nTag_mem3=WWV\n")) << ReadMemoryFile().toStdString();
    EXPECT_EQ(Form1().Mem[2]->Caption(), u"WWV"_s);
    EXPECT_EQ(Window().Status->text(), u"1 change written to the memory file"_s);
}
