#include "Faceplate.h"
#include "pixel_art.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr QRgb Paper = 0xFFFFFFFF;
constexpr QRgb Ink = 0xFF000000; // pen, clBlack
constexpr QRgb Fill = 0xFF0000FF; // brush, clBlue ($FF0000 is blue: red in the low byte)
const std::map<QRgb, char> Legend{{Paper, '.'}, {Ink, '#'}, {Fill, 'o'}};

QString Draw(int width, int height, const std::function<void(TCanvas &)> &draw)
{
    return Picture(Render(width, height, Paper,
                          [&](QPainter &painter) {
                              TCanvas canvas(painter);
                              canvas.SetPenColor(clBlack);
                              canvas.SetBrushColor(clBlue);
                              draw(canvas);
                          }),
                   Legend);
}

} // namespace

TEST(CanvasLines, EndPointIsNotPainted)
{
    EXPECT_EQ(Draw(8, 3, [](TCanvas &c) { c.Line({1, 1}, {6, 1}); }), Rows("........", ".#####..", "........"));
    EXPECT_EQ(Draw(8, 3, [](TCanvas &c) { c.Line({6, 1}, {1, 1}); }), Rows("........", "..#####.", "........"));
    EXPECT_EQ(Draw(3, 5, [](TCanvas &c) { c.Line({1, 0}, {1, 4}); }), Rows(".#.", ".#.", ".#.", ".#.", "..."));
    EXPECT_EQ(Draw(5, 5, [](TCanvas &c) { c.Line({0, 0}, {4, 4}); }),
              Rows("#....", ".#...", "..#..", "...#.", "....."));
    EXPECT_EQ(Draw(5, 5, [](TCanvas &c) { c.Line({4, 0}, {0, 4}); }),
              Rows("....#", "...#.", "..#..", ".#...", "....."));
    EXPECT_EQ(Draw(3, 3, [](TCanvas &c) { c.Line({1, 1}, {1, 1}); }), Rows("...", "...", "..."));
}

TEST(CanvasLines, ShallowLinePaintsOnePixelPerColumn)
{
    EXPECT_EQ(Draw(9, 3, [](TCanvas &c) { c.Line({0, 0}, {8, 2}); }),
              Rows("##.......", "..####...", "......##."));
}

TEST(CanvasLines, MoveToLineToChainsFromTheLastEnd)
{
    EXPECT_EQ(Draw(5, 4,
                   [](TCanvas &c) {
                       c.MoveTo(4, 0);
                       c.LineTo(0, 0);
                       c.LineTo(0, 3);
                   }),
              Rows("#####", "#....", "#....", "....."));
}

TEST(CanvasLines, WidePenCoversABandCentredOnTheLine)
{
    // Width 3 along row 1 from column 3 to 16: columns 3..15, rows 0..2.
    const QString picture = Draw(18, 4, [](TCanvas &c) {
        c.SetPenWidth(3);
        c.Line({3, 1}, {16, 1});
    });
    EXPECT_EQ(picture, Rows("...#############..", "...#############..", "...#############..", ".................."));
    EXPECT_EQ(Draw(4, 6,
                   [](TCanvas &c) {
                       c.SetPenWidth(3);
                       c.Line({1, 1}, {1, 4});
                   }),
              Rows("....", "###.", "###.", "###.", "....", "...."));
}

TEST(CanvasBoxes, RectangleIsOutlinePlusInterior)
{
    EXPECT_EQ(Draw(7, 6, [](TCanvas &c) { c.Rectangle(1, 1, 6, 5); }),
              Rows(".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."));
    // A box of 10 x 10 covers 10 x 10 pixels, not 11 x 11.
    const QImage image = Render(12, 12, Paper, [](QPainter &p) {
        TCanvas c(p);
        c.SetPenColor(clBlack);
        c.SetBrushColor(clBlue);
        c.Rectangle(0, 0, 10, 10);
    });
    EXPECT_EQ(image.pixel(9, 9), Ink);
    EXPECT_EQ(image.pixel(10, 9), Paper);
    EXPECT_EQ(image.pixel(9, 10), Paper);
    EXPECT_EQ(image.pixel(5, 5), Fill);
}

TEST(CanvasBoxes, FillAndFrameExcludeRightColumnAndBottomRow)
{
    EXPECT_EQ(Draw(5, 4, [](TCanvas &c) { c.FillRect(1, 1, 4, 3); }), Rows(".....", ".ooo.", ".ooo.", "....."));
    EXPECT_EQ(Draw(6, 5, [](TCanvas &c) { c.FrameRect(1, 1, 5, 4); }),
              Rows("......", ".oooo.", ".o..o.", ".oooo.", "......"));
    EXPECT_EQ(Draw(4, 4,
                   [](TCanvas &c) {
                       c.FillRect(3, 1, 1, 3); // crossed: empty
                       c.SetBrushClear();
                       c.FillRect(0, 0, 4, 4);
                   }),
              Rows("....", "....", "....", "...."));
}

TEST(CanvasPolygon, FilledAndOutlinedThroughEveryVertex)
{
    const std::array<QPoint, 3> triangle{QPoint(1, 1), QPoint(7, 1), QPoint(1, 7)};
    EXPECT_EQ(Draw(9, 9, [&](TCanvas &c) { c.Polygon(triangle); }),
              Rows(".........", ".#######.", ".#oooo#..", ".#ooo#...", ".#oo#....", ".#o#.....", ".##......",
                   ".#.......", "........."));
    const std::array<QPoint, 4> slanted{QPoint(0, 0), QPoint(6, 0), QPoint(4, 2), QPoint(2, 2)};
    EXPECT_EQ(Draw(7, 4, [&](TCanvas &c) { c.Polygon(slanted); }),
              Rows("#######", ".#ooo#.", "..###..", "......."));
}

TEST(CanvasEllipse, StaysInsideItsBox)
{
    EXPECT_EQ(Draw(7, 7, [](TCanvas &c) { c.Ellipse(1, 1, 6, 6); }),
              Rows(".......", "..###..", ".#ooo#.", ".#ooo#.", ".#ooo#.", "..###..", "......."));
    // The separator dot of the readout: a box of 4 x 4.
    EXPECT_EQ(Draw(6, 6, [](TCanvas &c) { c.Ellipse(1, 1, 5, 5); }),
              Rows("......", "..##..", ".#oo#.", ".#oo#.", "..##..", "......"));
}

TEST(CanvasImages, TransparentColourIsPaintedInTheBrushColour)
{
    QImage strip(4, 2, QImage::Format_RGB32);
    strip.fill(0xFF00FF00);        // green: the transparent colour
    strip.setPixel(1, 0, Ink);     // image 0
    strip.setPixel(3, 1, 0xFF0000FF); // image 1
    const QImage image = Render(4, 3, Paper, [&](QPainter &p) {
        TCanvas c(p);
        c.SetBrushColor(clBlue);
        c.DrawTransparent(1, 1, strip, QRect(0, 0, 2, 2), 0xFF00FF00);
    });
    EXPECT_EQ(Picture(image, Legend), Rows("....", ".o#.", ".oo."));
}

TEST(CanvasText, StaysInItsBox)
{
    const QImage image = Render(60, 30, Paper, [](QPainter &p) {
        TCanvas c(p);
        TFont font;
        font.Face.setPixelSize(20);
        font.Color = clBlack;
        c.SetFont(font);
        EXPECT_GT(c.TextWidth(QStringLiteral("WWWW")), 40);
        c.TextInBox(10, 5, 30, 25, QStringLiteral("WWWW"), TCanvas::VerticalPlace::Middle);
    });
    int inside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inBox = x >= 10 && x < 30 && y >= 5 && y < 25;
            if (image.pixel(x, y) != Paper) {
                EXPECT_TRUE(inBox) << x << "," << y;
                ++inside;
            }
        }
    EXPECT_GT(inside, 20);
}
