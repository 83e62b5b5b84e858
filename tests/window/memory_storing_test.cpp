#include "program_rig.h"
#include "store_memory_dialog.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

class StoringTest : public MainWindowRig
{
protected:
    // The memory button's own menu as a right click opens it; its one item.
    QAction *MemoryMenuItem(int memory)
    {
        TLEDButton *button = Form1().Mem[memory - 1];
        QTest::mousePress(button, Qt::RightButton);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), button->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(button, &event);
        EXPECT_FALSE(button->Pressed()); // the menu took the press over
        auto *menu = Form1().findChild<QMenu *>(u"memoryMenu"_s);
        return menu != nullptr && menu->isVisible() ? menu->actions().value(0) : nullptr;
    }
    TStoreMemoryDialog *Dialog() { return Form1().findChild<TStoreMemoryDialog *>(); }
    void Type(QWidget *on, const QString &text) { QTest::keyClicks(on, text + u'\r'); }
};

} // namespace

// From a memory button's menu: the dialog comes up at that memory with its tag selected; Store
// writes the memory's two entries in place (every other line, comment and line end kept), and
// the button shows and recalls it at once. Its tooltip and description say what it holds.
TEST_F(StoringTest, AMemoryButtonStoresTheFrequencyYouHear)
{
    WriteMemoryFile("; kept\r\n[bank1]\r\nbank_name1=Broadcast\r\nmem3=6070000\r\nTag_mem3=CFRX\r\nsquelch=3\r\n");
    Start();
    const QString vfoHint = u"\nIn VFO mode: MEM switches to the memories."_s;
    const QString storeHint = u"\nRight-click or Menu key: store the frequency you hear here."_s;
    EXPECT_EQ(Form1().Mem[2]->toolTip(), u"CFRX: 6,070.000 kHz"_s + vfoHint + storeHint);
    EXPECT_EQ(Form1().Mem[0]->toolTip(), u"Memory 1: no frequency"_s + vfoHint + storeHint);
    Type(&Form1(), u"7074"_s);

    QAction *item = MemoryMenuItem(3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u"Store 7,074.000 kHz in CFRX\u2026"_s);
    item->trigger();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->MemoryBox->currentText(), u"M 3  CFRX: 6,070.000 kHz"_s);
    Type(Dialog()->TagBox, u"FT8 & more"_s);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Dialog() == nullptr; }));

    EXPECT_EQ(ReadMemoryFile(),
              "; kept\r\n[bank1]\r\nbank_name1=Broadcast\r\nmem3=7074000\r\nTag_mem3=FT8 & more\r\nsquelch=3\r\n");
    EXPECT_EQ(Form1().Mem[2]->Caption(), u"FT8 & more"_s);
    EXPECT_EQ(Form1().Mem[2]->accessibleDescription(), u"FT8 & more: 7,074.000 kHz"_s + vfoHint + storeHint);
    Type(&Form1(), u"14200"_s);
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().Mem[2]->toolTip(), u"FT8 & more: 7,074.000 kHz"_s + storeHint);
    port.ClearCalls();
    Click(Form1().Mem[2]);
    EXPECT_EQ(SentFrequency(), 7'074'000);
}

// Ctrl+S opens the dialog at the selected memory; the bank and memory chosen there, in either
// order, take the frequency, and the buttons change only when they show that bank. The Menu key on a focused
// memory button opens its own menu. A failed write keeps the dialog open.
TEST_F(StoringTest, TheKeyboardReachesItAndAFailedWriteKeepsTheDialog)
{
    Start();
    Type(&Form1(), u"6070"_s);
    QTest::keyClick(&Form1(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->Memory(), 1);
    Dialog()->MemoryBox->setCurrentIndex(14);
    Dialog()->BankBox->setCurrentIndex(3);
    EXPECT_EQ(Dialog()->Memory(), 15);
    EXPECT_EQ(Dialog()->Tag(), u"MEM 15"_s);
    Type(Dialog()->TagBox, u"CFRX"_s);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ReadMemoryFile().contains("[bank4]\nbank_name4=BANK 4\nmem1=\n"));
    EXPECT_TRUE(ReadMemoryFile().contains("mem15=6070000\nTag_mem15=CFRX\n"));
    EXPECT_EQ(Form1().Mem[14]->Caption(), u"MEM 15"_s);

    Form1().Mem[4]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form1().Mem[4], Qt::Key_Menu);
    auto *menu = Form1().findChild<QMenu *>(u"memoryMenu"_s);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().value(0)->text(), u"Store 6,070.000 kHz in MEM 5\u2026"_s);
    menu->actions().value(0)->trigger();

    const QByteArray before = ReadMemoryFile();
    QFile::setPermissions(MemoryFilePath(), QFileDevice::ReadOwner);
    QTest::keyClick(Dialog()->TagBox, Qt::Key_Return);
    QFile::setPermissions(MemoryFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(errors, QStringList{u"Unable to write to "_s + MemoryFilePath()});
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(ReadMemoryFile(), before);
}
