#include "program_rig.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The designed tab order after the radio buttons: the bank name, then tag and frequency of each
// memory in turn.
// By rows: each row's left memory (1 to 8), then its right one (9 to 15).
QStringList EditOrder()
{
    QStringList order{u"bank_name"_s};
    for (const int j : {1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8})
        order << u"m"_s + QString::number(j) + u"tag"_s << u"m"_s + QString::number(j) + u"freq"_s;
    return order;
}

} // namespace

class EditorTest : public MainWindowRig
{
protected:
    // Starts the program and opens the editor with "MW".
    void Open()
    {
        if (!program)
            Start();
        Click(Form1().LMW);
        ASSERT_TRUE(Form2().isVisible());
        ASSERT_TRUE(WaitUntilActive(Form2()));
    }
    void Ok()
    {
        Click(Form2().ok_btn);
        QCoreApplication::processEvents();
    }
    void Cancel()
    {
        Click(Form2().cancelar);
        QCoreApplication::processEvents();
    }
    void Select(int bank) { Click(Form2().SelectBanks[bank - 1]); }
    QLineEdit *Tag(int memory) { return Form2().Tags[memory - 1]; }
    QLineEdit *Frequency(int memory) { return Form2().Frequencies[memory - 1]; }
    TMemoryBanks Saved() const { return TMemoryFile(MemoryFilePath()).Load(); }
};

TEST_F(EditorTest, ShowsBankOneOfTheFileWithBothLightsOn)
{
    WriteMemoryFile("[bank1]\nbank_name1=Broadcast\nmem3=6070000\nTag_mem3=CFRX\n");
    Open();
    EXPECT_EQ(Form2().bank_name->text(), u"Broadcast"_s);
    EXPECT_EQ(Tag(3)->text(), u"CFRX"_s);
    EXPECT_EQ(Frequency(3)->text(), u"6070000"_s);
    EXPECT_TRUE(Tag(1)->text().isEmpty());
    EXPECT_TRUE(Form2().cancelar->StateOn());
    EXPECT_TRUE(Form2().ok_btn->StateOn());
    EXPECT_TRUE(Form2().SelectBanks[0]->isChecked());
    EXPECT_EQ(Form2().banco_cfg, 1);
}

TEST_F(EditorTest, EditsSurviveBankChangesAndOkWritesThem)
{
    Open();
    QTest::keyClicks(Tag(3), u" changed"_s);
    Select(2);
    EXPECT_EQ(Form2().bank_name->text(), u"BANK 2"_s);
    Form2().bank_name->setText(u"Shortwave"_s);
    Select(1);
    EXPECT_EQ(Tag(3)->text(), u"MEM 3 changed"_s);
    Ok();
    EXPECT_FALSE(Form2().isVisible());
    const TMemoryBanks saved = Saved();
    EXPECT_EQ(saved.memories(1, 3).tag.str(), u"MEM 3 changed"_s);
    EXPECT_EQ(saved.names[2].str(), u"Shortwave"_s);
    EXPECT_EQ(saved.names[1].str(), u"BANK 1"_s);
}

TEST_F(EditorTest, CancelWritesNothingAndReopeningShowsTheFile)
{
    Open();
    const QByteArray before = ReadMemoryFile();
    Tag(3)->setText(u"dropped"_s);
    Select(2);
    Form2().bank_name->setText(u"dropped too"_s);
    Cancel();
    EXPECT_FALSE(Form2().isVisible());
    EXPECT_FALSE(Form2().cancelar->StateOn()); // the click switched its own light off
    EXPECT_EQ(ReadMemoryFile(), before);
    Open();
    EXPECT_TRUE(Form2().cancelar->StateOn());
    EXPECT_TRUE(Form2().ok_btn->StateOn());
    EXPECT_EQ(Tag(3)->text(), u"MEM 3"_s);
    Select(2);
    EXPECT_EQ(Form2().bank_name->text(), u"BANK 2"_s);
}

TEST_F(EditorTest, ReopenedAfterCancelTheBoxesAreBankOneAndOkStoresThere)
{
    Open();
    Select(5);
    EXPECT_EQ(Form2().bank_name->text(), u"BANK 5"_s);
    Cancel();
    Open();
    EXPECT_EQ(Form2().banco_cfg, 1);
    EXPECT_EQ(Form2().bank_name->text(), u"BANK 1"_s);
    EXPECT_TRUE(Form2().SelectBanks[0]->isChecked());
    EXPECT_FALSE(Form2().SelectBanks[4]->isChecked());
    Form2().bank_name->setText(u"First"_s);
    Ok();
    EXPECT_EQ(Saved().names[1].str(), u"First"_s);
    EXPECT_EQ(Saved().names[5].str(), u"BANK 5"_s);
}

TEST_F(EditorTest, FrequencyTextIsSavedAsTypedAndIgnoredOnRecall)
{
    Open();
    Frequency(1)->setText(u"7.050 MHz"_s);
    Ok();
    EXPECT_EQ(Saved().memories(1, 1).freq.str(), u"7.050 MHz"_s);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(EditorTest, AfterOkTheMainWindowShowsTheNewNamesAndIsBackInVfoMode)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\n");
    Start();
    Click(Form1().M_VFO);
    Click(Form1().Bank[3]);
    Open();
    Form2().bank_name->setText(u"Ham"_s);
    Tag(1)->setText(u"40m"_s);
    Select(4);
    Form2().bank_name->setText(u"Four"_s);
    Ok();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    QCoreApplication::processEvents();
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Ham"_s);
    EXPECT_EQ(Form1().Bank[3]->Caption(), u"Four"_s);
    EXPECT_EQ(Form1().Mem[0]->Caption(), u"40m"_s);
    EXPECT_FALSE(Form1().modo_memoria);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(Form1().banco, 1);
    EXPECT_EQ(SentFrequency(), 14'200'000);
}

TEST_F(EditorTest, AFailedSaveKeepsTheDialogTheEditsAndTheFile)
{
    Open();
    const QByteArray before = ReadMemoryFile();
    QFile::setPermissions(MemoryFilePath(), QFileDevice::ReadOwner);
    Tag(2)->setText(u"kept"_s);
    Ok();
    QFile::setPermissions(MemoryFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(errors, QStringList{u"Unable to write to "_s + MemoryFilePath()});
    EXPECT_TRUE(Form2().isVisible());
    EXPECT_EQ(Tag(2)->text(), u"kept"_s);
    EXPECT_EQ(ReadMemoryFile(), before);
    // OK again, now that the file can be written.
    Ok();
    EXPECT_FALSE(Form2().isVisible());
    EXPECT_EQ(Saved().memories(1, 2).tag.str(), u"kept"_s);
}

TEST_F(EditorTest, LongTagsAreCutWhenStored)
{
    Open();
    Tag(4)->setText(QString(300, u'x'));
    Select(2);
    Select(1);
    EXPECT_EQ(Tag(4)->text(), QString(255, u'x'));
    Ok();
    EXPECT_EQ(Saved().memories(1, 4).tag.str(), QString(255, u'x'));
    EXPECT_FALSE(Form2().ok_btn->StateOn());
    Open();
    EXPECT_TRUE(Form2().ok_btn->StateOn());
    EXPECT_TRUE(Form2().cancelar->StateOn());
    EXPECT_EQ(Tag(4)->text(), QString(255, u'x'));
}

// The main window keeps the focus: were the dialog activated, the next click on the main window
// would count as a return from it and reset the tuning.
TEST_F(EditorTest, MwWhileOpenChangesNothing)
{
    Open();
    Tag(5)->setText(u"unsaved"_s);
    WriteMemoryFile("[bank1]\nTag_mem5=from the file\n");
    Form1().activateWindow(); // the user clicks the main window, then its "MW"
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    Click(Form1().LMW);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &Form1());
    EXPECT_EQ(Tag(5)->text(), u"unsaved"_s);
    EXPECT_TRUE(Form2().isVisible());
}

TEST_F(EditorTest, OkWritesAll248EntriesInOrderAndKeepsUnknownOnes)
{
    WriteMemoryFile("[bank1]\nbank_name1=One\nsquelch=3\n");
    Open();
    Ok();
    const QString text = QString::fromUtf8(ReadMemoryFile());
    EXPECT_EQ(text.count(u'='), 249);
    EXPECT_TRUE(text.startsWith(u"[bank1]\nbank_name1=One\nsquelch=3\nmem1=\nTag_mem1=\nmem2=\n"_s));
    qsizetype at = 0;
    for (int n = 1; n <= 8; ++n) {
        at = text.indexOf(u"[bank"_s + QString::number(n) + u"]"_s, at);
        ASSERT_GE(at, 0) << n;
        for (int j = 1; j <= 15; ++j) {
            const qsizetype frequency = text.indexOf(u"\nmem"_s + QString::number(j) + u"="_s, at);
            const qsizetype tag = text.indexOf(u"\nTag_mem"_s + QString::number(j) + u"="_s, at);
            ASSERT_GT(tag, frequency) << n << " " << j;
            at = tag;
        }
    }
}

TEST_F(EditorTest, ClickingTheMainWindowReloadsItAndKeepsTheEdits)
{
    Open();
    Tag(1)->setText(u"unsaved"_s);
    Click(Form1().M_VFO); // the dialog is still open
    WriteMemoryFile("[bank1]\nbank_name1=Elsewhere\n");
    FocusWindow(&Form1());
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Elsewhere"_s);
    EXPECT_FALSE(Form1().modo_memoria);
    EXPECT_TRUE(Form2().isVisible());
    EXPECT_EQ(Tag(1)->text(), u"unsaved"_s);
}

TEST_F(EditorTest, MissingFileShowsEmptyBoxesAndOkCreatesIt)
{
    Start();
    QFile::remove(MemoryFilePath());
    Open();
    EXPECT_TRUE(Form2().bank_name->text().isEmpty());
    EXPECT_TRUE(Tag(1)->text().isEmpty());
    Tag(1)->setText(u"new"_s);
    Ok();
    EXPECT_EQ(Saved().memories(1, 1).tag.str(), u"new"_s);
}

TEST_F(EditorTest, TabOrderAndRadioGroup)
{
    Open();
    const QStringList radios{u"select_b1"_s, u"selectB2"_s, u"SelectB3"_s, u"SelectB4"_s,
                             u"selectB5"_s,  u"selectB6"_s, u"selectB7"_s, u"selectB8"_s};
    // The focus chain holds the controls in the designed order; of a group of radio buttons Tab
    // stops only at the marked one, as on the platforms' own dialogs.
    const QStringList expected = radios + EditOrder();
    QStringList chain;
    QWidget *w = Form2().findChild<QWidget *>(u"select_b1"_s);
    while (chain.size() < expected.size()) {
        if (expected.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, expected);
    Form2().SelectBanks[0]->setFocus();
    QTest::keyClick(Form2().SelectBanks[0], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form2().bank_name);
    // And Tab itself follows it.
    Form2().bank_name->setFocus();
    QTest::keyClick(Form2().bank_name, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Tag(1));
    QTest::keyClick(Tag(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Frequency(1));

    Select(6);
    int marked = 0;
    for (QRadioButton *radio : Form2().SelectBanks)
        marked += radio->isChecked() ? 1 : 0;
    EXPECT_EQ(marked, 1);
    EXPECT_TRUE(Form2().SelectBanks[5]->isChecked());
    EXPECT_EQ(Form2().bank_name->text(), u"BANK 6"_s);
}

TEST_F(EditorTest, LayoutAndLook)
{
    Open();
    TForm2 &editor = Form2();
    EXPECT_EQ(editor.findChild<QWidget *>(u"grupo_bank"_s)->geometry(), QRect(8, 8, 393, 81));
    EXPECT_EQ(editor.findChild<QWidget *>(u"selectB5"_s)->geometry(), QRect(24, 56, 73, 17));
    EXPECT_EQ(editor.findChild<QWidget *>(u"bank_name"_s)->geometry(), QRect(208, 96, 121, 21));
    EXPECT_EQ(editor.findChild<QWidget *>(u"Bevel1"_s)->geometry(), QRect(0, 120, 409, 9));
    EXPECT_EQ(editor.findChild<QWidget *>(u"m8tag"_s)->geometry(), QRect(40, 376, 73, 21));
    EXPECT_EQ(editor.findChild<QWidget *>(u"m9freq"_s)->geometry(), QRect(328, 152, 81, 21));
    EXPECT_EQ(editor.findChild<QWidget *>(u"m15tag"_s)->geometry(), QRect(248, 344, 73, 21));
    EXPECT_EQ(editor.findChild<QWidget *>(u"Label14"_s)->pos(), QPoint(216, 152));
    EXPECT_EQ(editor.findChild<QWidget *>(u"Label20"_s)->pos(), QPoint(208, 344));
    EXPECT_EQ(editor.findChild<QWidget *>(u"Label9"_s)->pos(), QPoint(8, 376));
    EXPECT_EQ(editor.findChild<QWidget *>(u"cancelar"_s)->geometry(), QRect(256, 376, 57, 41));
    EXPECT_EQ(editor.findChild<QWidget *>(u"ok_btn"_s)->geometry(), QRect(344, 376, 57, 41));
    EXPECT_EQ(editor.cancelar->ColorLED(), clRed);
    EXPECT_EQ(editor.ok_btn->ColorLED(), clLime);
    EXPECT_TRUE(editor.ok_btn->Switching());
    EXPECT_EQ(editor.ok_btn->Font().Color, clWindowText);
    EXPECT_EQ(Tag(1)->palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(Tag(1)->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(editor.findChild<QWidget *>(u"Label2"_s)->font().pixelSize(), 16);

    // The marked radio button shows its mark (the indicator differs from an unmarked one's).
    const QImage marked = editor.SelectBanks[0]->grab().toImage().copy(0, 0, 16, 17);
    const QImage unmarked = editor.SelectBanks[1]->grab().toImage().copy(0, 0, 16, 17);
    EXPECT_NE(marked, unmarked);

    // A close request from the system only hides the dialog.
    editor.close();
    EXPECT_FALSE(editor.isVisible());
}

// A transient of the main window, which every window manager keeps above it, also once the main
// window's native window is made anew (as a change of "Always on top" does).
TEST_F(EditorTest, OwnedByTheMainWindowAndEscCancels)
{
    Open();
    EXPECT_EQ(Form2().windowHandle()->transientParent(), Form1().windowHandle());
    EXPECT_FALSE(Form2().isModal());
    Form1().SetAlwaysOnTop(false);
    Form1().SetAlwaysOnTop(true);
    EXPECT_EQ(Form2().windowHandle()->transientParent(), Form1().windowHandle());

    const QByteArray before = ReadMemoryFile();
    Tag(3)->setText(u"dropped"_s);
    QTest::keyClick(Tag(3), Qt::Key_Escape);
    EXPECT_FALSE(Form2().isVisible());
    EXPECT_EQ(ReadMemoryFile(), before);
    Open();
    EXPECT_EQ(Tag(3)->text(), u"MEM 3"_s);
}

// Minimised with the main window and restored, the dialog is hidden and shown by the window
// system: the edits stay, and the focus is left where the window system puts it.
TEST_F(EditorTest, RestoredByTheWindowSystemItKeepsTheEdits)
{
    Open();
    Tag(2)->setText(u"unsaved"_s);
    WriteMemoryFile("[bank1]\nTag_mem2=from the file\n");
    // As the window system delivers them (sendEvent would mark them as the program's own).
    QHideEvent hidden;
    QSpontaneKeyEvent::setSpontaneous(&hidden);
    qApp->notify(&Form2(), &hidden);
    QShowEvent shown;
    QSpontaneKeyEvent::setSpontaneous(&shown);
    qApp->notify(&Form2(), &shown);
    QCoreApplication::processEvents();
    EXPECT_EQ(Tag(2)->text(), u"unsaved"_s);
    EXPECT_EQ(QApplication::activeWindow(), &Form2());
}
