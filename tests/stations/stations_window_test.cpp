#include "announcer.h"
#include "bookmarks_sample.h"
#include "fake_main_window.h"
#include "published_lists.h"
#include "station_lists.h"
#include "stations_window.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimeZone>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The stations window beside a main window that records what it is asked, over lists kept in a
// folder of the test's own.
class StationsWindowTest : public testing::Test
{
protected:
    QString WriteList(const QString &name, const QByteArray &list)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(list);
        return path;
    }
    void StartWithList(const QByteArray &list) { StartWithFile(WriteList(u"bookmarks.csv"_s, list)); }
    void StartWithFile(const QString &path)
    {
        MakeLists();
        Window().Import(path);
        ASSERT_TRUE(Loaded());
    }
    void MakeLists() { lists.emplace(mainWindow, folder.path(), folder.filePath(u"stations"_s)); }
    TStationsWindow &Window() { return lists->Window(); }
    QByteArray ReadMemoryFile() const
    {
        QFile file(folder.filePath(u"memos.ini"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool WaitUntilActive(QWidget &window)
    {
        return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
    }
    // The lists are read on a thread of their own.
    bool Loaded() { return QTest::qWaitFor([this] { return !Window().Loading(); }); }
    QStringList Shown()
    {
        QStringList names;
        for (int row = 0; row < Window().Table.rowCount(); ++row)
            names << Window().Table.StationAt(row).name;
        return names;
    }

    QTemporaryDir folder;
    FakeMainWindow mainWindow;
    std::optional<TStationLists> lists;
};

} // namespace

// Imported lists are searched as the user types, sorted by frequency, and narrowed to the
// stations near the readout, which they follow.
TEST_F(StationsWindowTest, SearchAndNearTheDialNarrowTheTable)
{
    StartWithList(BookmarksSample);
    EXPECT_EQ(Window().Status->text(), u"Imported 5 stations from bookmarks.csv (gqrx bookmarks), 1 of them outside "
                                       "the receiver's 50 kHz to 70 MHz"_s);
    EXPECT_EQ(Window().Lists->currentText(), u"bookmarks.csv"_s);
    EXPECT_EQ(Shown(), (QStringList{u"CFRX Toronto"_s, u"FT8 40 m"_s, u"Radio \"Seven\" #1"_s, u"FT8 20 m"_s}));

    QTest::keyClicks(Window().Search, u"ft8"_s);
    EXPECT_EQ(Shown(), (QStringList{u"FT8 40 m"_s, u"FT8 20 m"_s}));
    Window().Search->clear();
    QTest::keyClicks(Window().Search, u"7,100"_s); // the frequency as the table shows it
    EXPECT_EQ(Shown(), QStringList{u"Radio \"Seven\" #1"_s});
    Window().Search->clear();

    mainWindow.TuneTo(7'072'000);
    Window().NearDial->setChecked(true);
    EXPECT_EQ(Shown(), (QStringList{u"FT8 40 m"_s}));
    mainWindow.TuneTo(14'070'000);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Shown() == QStringList{u"FT8 20 m"_s}; }));
    Window().NearDial->setChecked(false);
    Window().View->sortByColumn(TStationTable::Name, Qt::DescendingOrder);
    EXPECT_EQ(Shown().front(), u"Radio \"Seven\" #1"_s);
}

// A list kept from an earlier run is there at the next start; one that is removed is gone, and a
// file that is no list says why in one line and keeps nothing.
TEST_F(StationsWindowTest, ListsAreKeptRemovedAndRefusedWithOneLine)
{
    StartWithList(BookmarksSample);
    lists.reset();
    MakeLists();
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Window().Table.StationCount(), 5);
    EXPECT_EQ(Window().Status->text(), u"5 stations in 1 list"_s);

    const QString notAList = folder.filePath(u"memos.ini"_s);
    {
        QFile file(notAList);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("; not stations\n[bank1]\nbank_name1=Ham\n");
    }
    Window().Import(notAList);
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Window().Status->text(), u"Not a station list of a known format (gqrx, SDR++, CHIRP, SDR#, EiBi or "
                                       "this program's CSV)"_s);
    EXPECT_EQ(Window().Lists->count(), 1);
    EXPECT_EQ(ReadMemoryFile(), "; not stations\n[bank1]\nbank_name1=Ham\n");

    Window().RemoveButton->click();
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Window().Status->text(), u"Removed bookmarks.csv"_s);
    EXPECT_EQ(Window().Table.StationCount(), 0);
    EXPECT_FALSE(QFile::exists(folder.filePath(u"stations/bookmarks.csv"_s)));
}

// Ctrl+L opens the window. A station beyond the receiver is shown only when asked for, and Enter,
// a double click or "Store in memory…" on it leaves the readout and the memories alone, the
// status line saying why.
TEST_F(StationsWindowTest, StationsBeyondTheReceiverAreShownOnAskingButNeverTuned)
{
    StartWithList(BookmarksSample);
    mainWindow.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow.window));
    QTest::keyClick(&mainWindow.window, Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntilActive(Window()));
    EXPECT_EQ(Window().Count->text(), u"4 stations shown; 1 hidden as beyond the receiver's 50 kHz to 70 MHz"_s);
    Window().BeyondRange->click();
    EXPECT_EQ(Window().Count->text(), u"5 stations shown"_s);
    EXPECT_EQ(Window().View->accessibleDescription(), u"5 stations shown"_s);
    ASSERT_EQ(Shown().back(), u"ISS voice"_s);

    mainWindow.TuneTo(7'074'000);
    const QByteArray memories = ReadMemoryFile();
    Window().View->setFocus();
    Window().View->setCurrentIndex(Window().Table.index(4, TStationTable::Name));
    const QString refused = u"145,800.000 kHz (ISS voice) is beyond the receiver's 50 kHz to 70 MHz"_s;
    QTest::keyClick(Window().View, Qt::Key_Return);
    EXPECT_EQ(Window().Status->text(), u"Not tuned: "_s + refused);
    auto *announcer = Window().findChild<TAnnouncer *>();
    ASSERT_NE(announcer, nullptr);
    EXPECT_EQ(announcer->accessibleName(), u"Not tuned: "_s + refused);
    Window().Status->clear();
    const QRect cell = Window().View->visualRect(Window().View->currentIndex());
    // As a window system delivers one: press, release, press, double click, release.
    QTest::mouseClick(Window().View->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mousePress(Window().View->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Window().View->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(Window().View->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(Window().Status->text(), u"Not tuned: "_s + refused);
    Window().StoreButton->click();
    EXPECT_EQ(Window().Status->text(), u"Not stored: "_s + refused);
    EXPECT_TRUE(mainWindow.storing.isEmpty());
    EXPECT_EQ(mainWindow.tuned, QList<std::int32_t>{7'074'000});
    EXPECT_EQ(ReadMemoryFile(), memories);

    Window().View->setFocus();
    QTest::keyClick(Window().View, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), Window().View);
}

// The list just imported is the one chosen, so Remove takes that one; "On the air now" follows the
// clock each minute.
TEST_F(StationsWindowTest, TheImportedListIsChosenAndOnTheAirFollowsTheClock)
{
    StartWithList(BookmarksSample);
    Window().Import(WriteList(u"sked-b25.csv"_s, "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;"
                                                 "Remarks:135;P:35;Start:60;Stop:60;\r\n"
                                                 "6070;1000-1100;;CAN;CFRX morning;E;ENA;;1;;\r\n"
                                                 "9410;1100-1200;;G;BBC noon;E;Eu;;1;;\r\n"));
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Window().Lists->currentText(), u"sked-b25.csv"_s);

    QDateTime now(QDate(2024, 1, 1), QTime(10, 30), QTimeZone::utc());
    Window().Now = [&now] { return now; };
    Window().OnAir->setChecked(true);
    EXPECT_EQ(Shown(), QStringList{u"CFRX morning"_s});
    now = now.addSecs(3600);
    auto *minute = Window().findChild<QTimer *>(u"onAirEachMinute"_s);
    ASSERT_NE(minute, nullptr);
    ASSERT_TRUE(minute->isActive());
    QSignalSpy ticked(minute, &QTimer::timeout);
    minute->start(0);
    ASSERT_TRUE(ticked.wait());
    minute->stop();
    EXPECT_EQ(Shown(), QStringList{u"BBC noon"_s});

    Window().RemoveButton->click();
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(Window().Status->text(), u"Removed sked-b25.csv"_s);
    EXPECT_EQ(Window().Lists->currentText(), u"bookmarks.csv"_s);
}

// tlhunter's published gqrx bookmarks: 49 of its 1,046 lie within the receiver's range.
TEST_F(StationsWindowTest, APublishedListShowsWhatTheReceiverTunes)
{
    SKIP_WITHOUT_PUBLISHED_LISTS();
    StartWithFile(PublishedListsFolder() + u"/gqrx/tlhunter--gqrx-bookmarks--bookmarks.csv"_s);
    EXPECT_EQ(Window().Table.rowCount(), 49);
    EXPECT_EQ(Window().Count->text(), u"49 stations shown; 997 hidden as beyond the receiver's 50 kHz to 70 MHz"_s);
    Window().BeyondRange->setChecked(true);
    EXPECT_EQ(Window().Table.rowCount(), 1046);
    EXPECT_EQ(Window().Count->text(), u"1,046 stations shown"_s);
}
