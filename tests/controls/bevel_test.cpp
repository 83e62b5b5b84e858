#include "Faceplate.h"
#include "pixel_art.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QRgb Face = 0xFF808080;
constexpr QRgb Light = 0xFFFFFFFF;
constexpr QRgb Dark = 0xFF404040;
constexpr QRgb Frame = 0xFF010101; // the window frame colour, set in the palette below
const std::map<QRgb, char> Legend{{Face, '.'}, {Light, 'L'}, {Dark, 'D'}, {Frame, 'B'}};

class BevelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Shadow, QColor(1, 1, 1));
        QGuiApplication::setPalette(palette);
    }
    void TearDown() override { QGuiApplication::setPalette(original); }

    QString Bevel(int width, int height, TButtonDirection direction, bool beveled, bool pressed, int depth = 1,
                  TBorderStyle border = bsSingle)
    {
        return Picture(Render(width, height, Face,
                              [&](QPainter &painter) {
                                  TCanvas canvas(painter);
                                  const TBevelLook look{direction, beveled, border, depth, clWhite, 0x404040};
                                  DrawBevel(canvas, TBox{0, 0, width, height}, look, pressed);
                              }),
                       Legend);
    }

    QPalette original;
};

} // namespace

// Every row of the table at 10 x 8 with D = 1 (x0 = 1, y0 = 1, x1 = 8, y1 = 6).
TEST_F(BevelTest, BottomUp)
{
    EXPECT_EQ(Bevel(10, 8, bdBottomUp, true, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BLL....DDB",
                                                          "BLL....DDB", "BLDDDDD.DB", "BDDDDDDD.B", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdBottomUp, true, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                         "BL......DB", "BL......DB", "BDDDDDDD.B", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdBottomUp, false, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                           "BL......DB", "BDDDDDDDDB", "BDDDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdBottomUp, false, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                          "BL......DB", "BL......DB", "BDDDDDDDDB", "BBBBBBBBBB"));
}

TEST_F(BevelTest, LeftUp)
{
    EXPECT_EQ(Bevel(10, 8, bdLeftUp, true, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BLLLLL..DB", "BLL.....DB",
                                                        "BLL.....DB", "BL.DDD..DB", "B.DDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdLeftUp, true, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                       "BL......DB", "BL......DB", "B.DDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdLeftUp, false, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BLL.....DB", "BLL.....DB",
                                                         "BLL.....DB", "BLL.....DB", "B.DDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdLeftUp, false, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                        "BL......DB", "BL......DB", "B.DDDDDDDB", "BBBBBBBBBB"));
}

TEST_F(BevelTest, RightUp)
{
    EXPECT_EQ(Bevel(10, 8, bdRightUp, true, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL..LLLDDB", "BL.....DDB",
                                                         "BL.....DDB", "BL..DDD.DB", "BDDDDDDD.B", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdRightUp, true, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                        "BL......DB", "BL......DB", "BDDDDDDD.B", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdRightUp, false, false), Rows("BBBBBBBBBB", "BLLLLLLDDB", "BL.....DDB", "BL.....DDB",
                                                          "BL.....DDB", "BL.....DDB", "BDDDDDDD.B", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdRightUp, false, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                         "BL......DB", "BL......DB", "BDDDDDDD.B", "BBBBBBBBBB"));
}

TEST_F(BevelTest, TopUp)
{
    EXPECT_EQ(Bevel(10, 8, bdTopUp, true, false), Rows("BBBBBBBBBB", "BLLLLLLL.B", "BLLLLLL.DB", "BLL....DDB",
                                                       "BLL....DDB", "BL......DB", "BLDDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdTopUp, true, true), Rows("BBBBBBBBBB", "BLLLLLLL.B", "BL......DB", "BL......DB",
                                                      "BL......DB", "BL......DB", "BLDDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdTopUp, false, false), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BLLLLLLLDB", "BL......DB",
                                                        "BL......DB", "BL......DB", "B.DDDDDDDB", "BBBBBBBBBB"));
    EXPECT_EQ(Bevel(10, 8, bdTopUp, false, true), Rows("BBBBBBBBBB", "BLLLLLLLDB", "BL......DB", "BL......DB",
                                                       "BL......DB", "BL......DB", "B.DDDDDDDB", "BBBBBBBBBB"));
}

TEST_F(BevelTest, NoneIsBorderOnlyAndNoBorderLeavesTheEdge)
{
    const QString flat = Rows("BBBBBBBBBB", "B........B", "B........B", "B........B", "B........B", "B........B",
                              "B........B", "BBBBBBBBBB");
    EXPECT_EQ(Bevel(10, 8, bdNone, true, false), flat);
    EXPECT_EQ(Bevel(10, 8, bdNone, false, true), flat);
    EXPECT_EQ(Bevel(6, 4, bdBottomUp, false, false, 0, bsNone), Rows("LLLLLD", "L....D", "L....D", "DDDDDD"));
}

// The 45 x 45 default button: face lines from 1 to 43; the dark band is rows 43 down to 40, each
// a pixel shorter at both ends than the one below it.
TEST_F(BevelTest, DefaultButtonDarkBand)
{
    const QString picture = Bevel(45, 45, bdBottomUp, true, false, 3);
    const QStringList rows = picture.mid(1).split(u'\n');
    for (int i = 0; i <= 3; ++i) {
        const QString row = rows[43 - i];
        EXPECT_EQ(row.indexOf(u'D'), 1 + i) << 43 - i;
        // The band's own row ends one pixel before x1 - i; beyond it is the right fan.
        EXPECT_EQ(row.mid(1 + i, 42 - 2 * i), QString(42 - 2 * i, u'D')) << 43 - i;
    }
    EXPECT_EQ(rows[39].mid(5, 35), QString(35, u'.'));
}

TEST_F(BevelTest, DepthZeroDrawsOneLineOfEachGroup)
{
    EXPECT_EQ(Bevel(8, 6, bdBottomUp, true, false, 0), Rows("BBBBBBBB", "BLLLLLDB", "BL....DB", "BL....DB",
                                                            "BDDDDD.B", "BBBBBBBB"));
}

TEST_F(BevelTest, NegativeDepthDrawsOnlyTheSingleLines)
{
    // The top line runs from x1 toward x0 and stops before it.
    EXPECT_EQ(Bevel(8, 6, bdBottomUp, true, false, -1), Rows("BBBBBBBB", "B.LLLLLB", "B......B", "B......B",
                                                             "B......B", "BBBBBBBB"));
    EXPECT_EQ(Bevel(8, 6, bdBottomUp, true, true, -2), Rows("BBBBBBBB", "B.LLLLLB", "B......B", "B......B",
                                                            "BDDDDD.B", "BBBBBBBB"));
}

// Pressed with D = 3 the fans end at x0 + h for h = 0, 0, 1, 1 and the band is one line.
TEST_F(BevelTest, PressedFanEndPoints)
{
    const QStringList rows = Bevel(20, 12, bdBottomUp, true, true, 3).mid(1).split(u'\n');
    // Left fans from (1, 1) to (1, 10), (1, 10), (2, 10), (2, 10): their last painted pixels.
    EXPECT_EQ(rows[9].left(4), u"BLL."_s);
    EXPECT_EQ(rows[10].left(3), u"BDD"_s); // the single dark line along the bottom
    EXPECT_EQ(rows[9].right(4), u".DDB"_s);
    EXPECT_EQ(rows[10].right(2), u".B"_s);
    EXPECT_EQ(rows[9].mid(4, 12), QString(12, u'.'));
}

TEST(LEDSlotTest, Placement)
{
    const TBox memoryButton{0, 0, 49, 25};
    EXPECT_EQ(PlaceLEDSlot(memoryButton, 3, bdBottomUp, false).Slot, (TBox{6, 13, 43, 18}));
    EXPECT_EQ(PlaceLEDSlot(memoryButton, 3, bdBottomUp, false).Rest, (TBox{0, 0, 49, 15}));
    EXPECT_EQ(PlaceLEDSlot(memoryButton, 3, bdBottomUp, true).Slot, (TBox{6, 14, 43, 19}));
    EXPECT_EQ(PlaceLEDSlot(memoryButton, 3, bdBottomUp, true).Rest, (TBox{0, 1, 49, 16}));
    const TBox panel{0, 0, 49, 45};
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdBottomUp, false).Slot, (TBox{6, 33, 43, 38}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdTopUp, false).Slot, (TBox{6, 7, 43, 12}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdTopUp, false).Rest, (TBox{0, 10, 49, 45}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdLeftUp, false).Slot, (TBox{7, 6, 12, 39}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdLeftUp, false).Rest, (TBox{12, 0, 49, 45}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdRightUp, false).Slot, (TBox{37, 6, 42, 39}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdRightUp, true).Rest, (TBox{1, 0, 38, 45}));
    EXPECT_EQ(PlaceLEDSlot(panel, 3, bdNone, false).Slot, (TBox{6, 33, 43, 38}));
    EXPECT_EQ(PlaceLEDSlot(panel, 0, bdBottomUp, false).Slot, (TBox{3, 36, 46, 41}));
    // Too small for its depth: crossed coordinates, as computed.
    EXPECT_EQ(PlaceLEDSlot(TBox{0, 0, 10, 10}, 3, bdBottomUp, false).Slot, (TBox{6, -2, 4, 3}));
}
