#include "Faceplate.h"
#include "pixel_art.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

QRgb Rgb(TColor color)
{
    return ToQColor(color).rgb();
}

QImage Rendered(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(0xFF123456);
    widget.render(&image);
    return image;
}

// The main window's readout.
void MakeFrequencyReadout(TLEDDisplay &display)
{
    display.resize(225, 49);
    display.SetNumDigits(8);
    display.SetFractionDigits(3);
    display.SetDecSeparator(dsPoint);
    display.SetLeadingZeros(false);
    display.SetColorLED(16773680);
    display.SetColorBackGround(clBlack);
    display.SetLEDContrast(6);
    display.SetSegmentStyle(ssBeveled);
    display.SetBevelStyle(bvLowered);
    display.SetBorderStyle(bsSingle);
}

bool RegionIsColour(const QImage &image, const QRect &region, QRgb colour)
{
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

// A point inside each segment of a 20 x 30 digit with lines 3 wide.
const std::array<QPoint, 7> SegmentInterior{QPoint(9, 2),  QPoint(2, 8),  QPoint(17, 8), QPoint(9, 15),
                                            QPoint(2, 22), QPoint(17, 22), QPoint(9, 27)};

// The segments each digit lights: top, upper left, upper right, middle, lower left, lower right,
// bottom.
const std::array<std::string, 10> DigitSegments{"1110111", "0010010", "1011101", "1011011", "0111010",
                                                "1101011", "0101111", "1010010", "1111111", "1111011"};

// The digit a 20 x 30 image at (x, y) shows by its lit and unlit segments; '?' for anything else.
char DigitAt(const QImage &image, int x, int y, QRgb lit, QRgb unlit)
{
    std::string segments;
    for (const QPoint p : SegmentInterior) {
        const QRgb colour = image.pixel(x + p.x(), y + p.y());
        if (colour != lit && colour != unlit)
            return '?';
        segments += colour == lit ? '1' : '0';
    }
    const auto digit = std::find(DigitSegments.begin(), DigitSegments.end(), segments);
    return digit == DigitSegments.end() ? '?' : static_cast<char>('0' + (digit - DigitSegments.begin()));
}

// What each 20 x 30 cell of a rendered readout shows: its digit, or ' ' for a cell of background
// only.
std::string CellsOf(const QImage &image, const TLEDDisplay &display, int firstX, int y, int cellWidth, QRgb lit,
                    QRgb unlit)
{
    std::string cells;
    for (int j = 0; j < display.NumDigits(); ++j) {
        const int x = firstX + j * cellWidth;
        const bool empty = RegionIsColour(image, QRect(x, y, 20, 30), Rgb(display.ColorBackGround()));
        cells += empty ? ' ' : DigitAt(image, x, y, lit, unlit);
    }
    return cells;
}

// The frequency readout's cells, lit in $FFF230 and unlit in $555110.
std::string ReadoutCells(TLEDDisplay &display)
{
    return CellsOf(Rendered(display), display, 4, 9, 28, Rgb(16773680), Rgb(0x555110));
}

} // namespace

TEST(DigitGeometryTest, FourteenPointsAndLineEnds)
{
    const TDigitGeometry g(20, 30, 3);
    const std::array<QPoint, 14> points{QPoint(0, 0),  QPoint(19, 0),  QPoint(4, 4),   QPoint(15, 4),  QPoint(0, 15),
                                        QPoint(4, 13), QPoint(15, 13), QPoint(19, 15), QPoint(4, 17),  QPoint(15, 17),
                                        QPoint(0, 29), QPoint(4, 25),  QPoint(15, 25), QPoint(19, 29)};
    EXPECT_EQ(g.Points, points);
    const std::array<std::array<QPoint, 2>, 7> lines{{{QPoint(3, 1), QPoint(16, 1)},
                                                      {QPoint(1, 4), QPoint(1, 12)},
                                                      {QPoint(18, 4), QPoint(18, 12)},
                                                      {QPoint(3, 15), QPoint(17, 15)},
                                                      {QPoint(1, 18), QPoint(1, 26)},
                                                      {QPoint(18, 18), QPoint(18, 26)},
                                                      {QPoint(3, 28), QPoint(17, 28)}}};
    EXPECT_EQ(g.Lines, lines);

    const TDigitGeometry wide(20, 30, 5);
    EXPECT_EQ(wide.Points[2], QPoint(6, 6));
    EXPECT_EQ(wide.Points[3], QPoint(13, 6));
    EXPECT_EQ(wide.Points[11], QPoint(6, 23));
    EXPECT_EQ(wide.Points[12], QPoint(13, 23));
    for (const int p : {5, 6})
        EXPECT_EQ(wide.Points[p].y(), 12);
    for (const int p : {8, 9})
        EXPECT_EQ(wide.Points[p].y(), 18);
}

TEST(DigitImagesTest, EveryDigitLightsItsSegments)
{
    TLEDDisplay display;
    display.SetColorLED(16773680);
    EXPECT_EQ(display.ColorLEDOff(), 0x555110);
    for (int d = 0; d < 10; ++d) {
        const QImage image = display.DigitImage(d);
        ASSERT_EQ(image.size(), QSize(20, 30));
        EXPECT_EQ(DigitAt(image, 0, 0, Rgb(16773680), Rgb(0x555110)), static_cast<char>('0' + d));
        // Frame and outlines: black on black.
        for (const QPoint p : {QPoint(0, 0), QPoint(19, 29), QPoint(10, 0), QPoint(4, 4), QPoint(15, 13), QPoint(0, 15)})
            EXPECT_EQ(image.pixel(p), 0xFF000000u) << d << ": " << p.x() << "," << p.y();
    }
}

TEST(DigitImagesTest, OutlinesOnGreyAndWithoutShapes)
{
    TLEDDisplay display;
    display.SetColorBackGround(clGray);
    EXPECT_EQ(display.ColorShape(), 0x555555);
    EXPECT_EQ(display.DigitImage(8).pixel(0, 0), 0xFF555555u);
    EXPECT_EQ(display.DigitImage(8).pixel(4, 4), 0xFF555555u);
    display.SetDrawDigitShapes(false);
    EXPECT_EQ(display.DigitImage(8).pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(display.DigitImage(8).pixel(4, 4), 0xFF808080u);
    EXPECT_EQ(display.DigitImage(8).pixel(SegmentInterior[3]), Rgb(clLime));
}

TEST(DigitImagesTest, ContrastZeroAndNineAndNothingAboveNine)
{
    TLEDDisplay display;
    for (const int ignored : {10, 12}) {
        display.SetLEDContrast(ignored);
        EXPECT_EQ(display.LEDContrast(), 6) << ignored;
        EXPECT_EQ(display.ColorLEDOff(), 0x005500) << ignored;
    }
    display.SetLEDContrast(0);
    EXPECT_EQ(display.ColorLEDOff(), clLime);
    EXPECT_EQ(display.DigitImage(1).pixel(SegmentInterior[0]), Rgb(clLime));
    display.SetLEDContrast(9);
    EXPECT_EQ(display.ColorLEDOff(), clBlack);
    EXPECT_EQ(display.DigitImage(1).pixel(SegmentInterior[0]), 0xFF000000u);
}

TEST(DigitImagesTest, RectangularSegmentsAreLines)
{
    TLEDDisplay display;
    display.SetSegmentStyle(ssRectangular);
    const QImage eight = display.DigitImage(8);
    const QImage art = eight.copy(0, 0, 20, 4);
    // The top line from (3, 1) to (16, 1), a band three pixels thick centred on row 1.
    EXPECT_EQ(Picture(art, {{0xFF000000u, '.'}, {Rgb(clLime), '#'}}),
              Rows("...#############....", "...#############....", "...#############....",
                   "...................."));
    EXPECT_EQ(eight.pixel(1, 4), Rgb(clLime)); // upper left runs down column 1
    EXPECT_EQ(eight.pixel(17, 15), 0xFF000000u); // the middle line stops before x = 17
    EXPECT_EQ(eight.pixel(16, 15), Rgb(clLime));
}

TEST(LEDDisplayTest, NewDisplay)
{
    TLEDDisplay display;
    EXPECT_EQ(display.size(), QSize(168, 36));
    EXPECT_EQ(display.NumDigits(), 6);
    EXPECT_EQ(display.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(display.ColorLEDOff(), 0x005500);
    EXPECT_EQ(CellsOf(Rendered(display), display, 4, 3, 28, Rgb(clLime), Rgb(0x005500)), "000000");
    EXPECT_EQ(MakeDisplayText(0, 0, 6).SeparatorPosition, 0);
}

TEST(LEDDisplayTest, FrequencyReadoutShows14200kHz)
{
    TLEDDisplay display;
    MakeFrequencyReadout(display);
    display.SetValue(14200.0);
    EXPECT_EQ(ReadoutCells(display), "14200000");
    const QImage image = Rendered(display);
    // The point after the fifth digit: the 4 x 4 box (138, 35) to (142, 39).
    const QRgb lit = Rgb(16773680);
    EXPECT_EQ(Picture(image.copy(137, 34, 6, 6), {{0xFF000000u, '.'}, {lit, 'o'}}),
              Rows("......", "......", "..oo..", "..oo..", "......", "......"));
}

TEST(LEDDisplayTest, LeadingZerosAreBlankButThePointStays)
{
    TLEDDisplay display;
    MakeFrequencyReadout(display);
    const QRgb lit = Rgb(16773680);
    const struct
    {
        double value;
        const char *cells;
    } cases[] = {{7000, " 7000000"}, {50, "   50000"}, {0.5, "     500"}, {0, "        "}};
    for (const auto &c : cases) {
        display.SetValue(c.value);
        EXPECT_EQ(ReadoutCells(display), c.cells) << c.value;
        EXPECT_EQ(Rendered(display).pixel(139, 36), lit) << c.value;
    }
    // Typed digits show as typed, zeros in front included.
    display.SetTypedText(QStringLiteral("0.5"));
    EXPECT_EQ(ReadoutCells(display), "      05");
    display.SetTypedText(QStringLiteral("007"));
    EXPECT_EQ(ReadoutCells(display), "     007");
}

TEST(LEDDisplayTest, ExtraDigitsAreDropped)
{
    TLEDDisplay display;
    MakeFrequencyReadout(display);
    display.SetFractionDigits(0);
    display.SetValue(123456789);
    EXPECT_EQ(ReadoutCells(display), "12345678");
}

// A minus cannot be shown: its cell stays empty, like a blanked leading zero.
TEST(LEDDisplayTest, EveryDigitTheMinusAndTheBlank)
{
    TLEDDisplay display;
    MakeFrequencyReadout(display);
    display.SetFractionDigits(0);
    display.SetValue(98765432);
    EXPECT_EQ(ReadoutCells(display), "98765432");
    display.SetValue(10203);
    EXPECT_EQ(ReadoutCells(display), "   10203");
    display.SetLeadingZeros(true);
    display.SetValue(-1);
    EXPECT_EQ(ReadoutCells(display), "000000 1");
}

TEST(LEDDisplayTest, FractionDigitsAreKeptBelowNumDigits)
{
    TLEDDisplay display;
    display.SetFractionDigits(9);
    EXPECT_EQ(display.FractionDigits(), 5);
    display.SetNumDigits(3);
    EXPECT_EQ(display.FractionDigits(), 5);
}

TEST(LEDDisplayTest, ValueChangeRaisesOnChangeOnce)
{
    TLEDDisplay display;
    int changes = 0;
    display.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &display);
        ++changes;
    };
    display.SetValue(7050.0);
    display.SetValue(7050.0);
    EXPECT_EQ(changes, 1);
    display.SetValue(7060.0);
    EXPECT_EQ(changes, 2);
}

// A network client can set the value thousands of times a second: the first new value is painted
// at once, those that follow within the frame are painted together when it is over.
TEST(LEDDisplayTest, ValuesFasterThanAFrameArePaintedTogether)
{
    TLEDDisplay display;
    display.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
    QCoreApplication::processEvents();
    struct PaintedValues : QObject
    {
        std::vector<double> values;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                values.push_back(static_cast<TLEDDisplay *>(watched)->Value());
            return false;
        }
    } painted;
    display.installEventFilter(&painted);
    // Posted events only: the frame's timer cannot run out in between, however slow the machine.
    display.SetValue(7000);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(painted.values, std::vector<double>{7000});
    display.SetValue(7001);
    display.SetValue(7002);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(painted.values, std::vector<double>{7000});
    EXPECT_TRUE(QTest::qWaitFor([&] { return painted.values.size() == 2; }));
    QTest::qWait(3 * TLEDDisplay::ValueFrameMilliseconds);
    EXPECT_EQ(painted.values, (std::vector<double>{7000, 7002}));
}

// Separator shapes on the frequency readout (point after cell 5, X = 138, top y = 9, L = 3).
TEST(LEDDisplayTest, SeparatorShapes)
{
    TLEDDisplay display;
    MakeFrequencyReadout(display);
    display.SetValue(14200);
    const QRgb lit = Rgb(16773680);
    const std::map<QRgb, char> legend{{0xFF000000u, '.'}, {lit, 'o'}};
    auto gap = [&] { return Picture(Rendered(display).copy(136, 8, 8, 34), legend); };

    display.SetDecSeparator(dsNone);
    EXPECT_EQ(gap().count(u'o'), 0);

    // Apostrophe at the digits' top, comma at their bottom, double point two dots (at
    // (49 - 4) div 3 + 9 - 2 = 22 and (49 - 4) * 2 div 3 + 9 - 2 = 37).
    auto litRows = [&](TDecSeparator separator) {
        display.SetDecSeparator(separator);
        const QImage image = Rendered(display);
        std::vector<int> rows;
        for (int y = 0; y < 49; ++y)
            if (image.pixel(139, y) == lit)
                rows.push_back(y);
        return rows;
    };
    EXPECT_EQ(litRows(dsApostrophe), (std::vector<int>{10, 11}));
    EXPECT_EQ(litRows(dsComma), (std::vector<int>{33, 34}));
    EXPECT_EQ(litRows(dsPoint), (std::vector<int>{36, 37}));
    EXPECT_EQ(litRows(dsDoublePoint), (std::vector<int>{23, 24, 38, 39}));
    EXPECT_EQ(litRows(dsSemicolon), (std::vector<int>{23, 24, 38, 39}));

    // The tail is thin enough to be all outline: it shows in the outline colour on grey, hanging
    // from the dot down to Y + 2L.
    display.SetColorBackGround(clGray);
    display.SetDecSeparator(dsComma);
    const QImage grey = Rendered(display);
    for (int y = 35; y <= 38; ++y)
        EXPECT_EQ(grey.pixel(139, y), 0xFF555555u) << y;
    EXPECT_EQ(grey.pixel(139, 39), 0xFF808080u);
}

// The hyphen: a bar two thirds of the gap between two digit images wide, rounded, centred in the
// gap, from row (49 - 3) div 2 = 23 on for L + 1 rows; drawn on grey so that its $555555 outline
// shows. The gap is the columns from the fifth image's right edge to the sixth image.
TEST(LEDDisplayTest, HyphenBarIsTwoThirdsOfTheGapRounded)
{
    const struct
    {
        int digitWidth;
        int gapLeft; // the fifth image's right edge
        const char *outline;
        const char *inside;
    } cases[] = {
        {20, 136, ".#####..", ".#ooo#.."}, // gap 8: 16 / 3 = 5.33 gives 5
        {21, 136, ".#####.", ".#ooo#."},   // gap 7: 14 / 3 = 4.67 gives 5, not 4
        {24, 138, "###.", "#o#."},         // gap 4: 8 / 3 = 2.67 gives 3, not 2
    };
    for (const auto &c : cases) {
        TLEDDisplay display;
        MakeFrequencyReadout(display);
        display.SetColorBackGround(clGray);
        display.SetDecSeparator(dsHyphen);
        display.SetDigitWidth(c.digitWidth);
        display.SetValue(14200);
        const int gap = 28 - c.digitWidth;
        const std::string blank(static_cast<std::size_t>(gap), '.');
        EXPECT_EQ(Picture(Rendered(display).copy(c.gapLeft, 22, gap, 6),
                          {{0xFF808080u, '.'}, {0xFF555555u, '#'}, {Rgb(16773680), 'o'}}),
                  Rows(blank.c_str(), c.outline, c.inside, c.inside, c.outline, blank.c_str()))
            << "gap " << gap;
    }
}

TEST(LEDDisplayTest, BevelStylesAndBorder)
{
    QPalette palette = QGuiApplication::palette();
    const QPalette original = palette;
    palette.setColor(QPalette::Dark, QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::Light, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::Shadow, QColor(0x01, 0x02, 0x03));
    QGuiApplication::setPalette(palette);
    const QRgb dark = 0xFF404040, light = 0xFFE0E0E0, frame = 0xFF010203;

    TLEDDisplay display;
    QImage image = Rendered(display); // bvLowered, bsSingle
    EXPECT_EQ(image.pixel(167, 0), dark);
    EXPECT_EQ(image.pixel(0, 34), dark);
    EXPECT_EQ(image.pixel(0, 35), light);
    EXPECT_EQ(image.pixel(167, 35), light);
    EXPECT_EQ(image.pixel(167, 1), light);
    EXPECT_EQ(image.pixel(1, 1), frame);
    EXPECT_EQ(image.pixel(166, 34), frame);
    EXPECT_EQ(image.pixel(2, 2), 0xFF000000u);

    display.SetBevelStyle(bvSpace);
    EXPECT_EQ(Rendered(display), image);

    display.SetBevelStyle(bvRaised);
    image = Rendered(display);
    EXPECT_EQ(image.pixel(0, 0), light);
    EXPECT_EQ(image.pixel(0, 35), dark);

    display.SetBevelStyle(bvNone);
    image = Rendered(display);
    EXPECT_EQ(image.pixel(0, 0), frame);
    EXPECT_EQ(image.pixel(167, 35), frame);
    EXPECT_EQ(image.pixel(1, 1), 0xFF000000u);

    display.SetBorderStyle(bsNone);
    EXPECT_EQ(Rendered(display).pixel(0, 0), 0xFF000000u);
    QGuiApplication::setPalette(original);
}

TEST(DisplayTextTest, RoundingAndPadding)
{
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(3.5, 0), "4");
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
    EXPECT_EQ(FormatFixed(14200, 3), "14200.000");
    EXPECT_EQ(FormatFixed(0.0005, 3), "0.001");
    EXPECT_EQ(FormatFixed(0.00001, 3), "0.000");
    EXPECT_EQ(FormatFixed(9.9996, 3), "10.000");
    EXPECT_EQ(FormatFixed(-14.25, 1), "-14.3");
    EXPECT_EQ(FormatFixed(-0.0001, 2), "0.00");
    EXPECT_EQ(FormatFixed(123456789012345678.0, 0), "123456789012345680");
    EXPECT_EQ(FormatFixed(1e20, 2).find('E') != std::string::npos, true);
    EXPECT_EQ(FormatFixed(std::nan(""), 3), "NAN");
    EXPECT_EQ(FormatFixed(-1.0 / 0.0, 3), "-INF");

    const TDisplayText shown = MakeDisplayText(0.5, 3, 8);
    EXPECT_EQ(shown.Characters, "00000500");
    EXPECT_EQ(shown.SeparatorPosition, 6);
    EXPECT_EQ(MakeDisplayText(123456789, 0, 8).Characters, "123456789");
}

// Every frequency the window can show, in hertz: f / 1000 with three decimals gives the eight
// digits of f. Split in four so that ctest runs the quarters side by side.
class EveryFrequency : public testing::TestWithParam<int>
{
};

TEST_P(EveryFrequency, ShowsItsEightDigits)
{
    constexpr int Quarter = 25'000'000;
    const int first = GetParam() * Quarter;
    std::atomic<long> failures{0};
    std::vector<std::thread> workers;
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            long mine = 0;
            char expected[9] = {};
            for (int f = first + t; f < first + Quarter; f += threads) {
                const TDisplayText shown = MakeDisplayText(f / 1000.0, 3, 8);
                int rest = f;
                for (int i = 7; i >= 0; --i, rest /= 10)
                    expected[i] = static_cast<char>('0' + rest % 10);
                if (shown.SeparatorPosition != 6 || shown.Characters != std::string_view(expected, 8))
                    ++mine;
            }
            failures += mine;
        });
    for (std::thread &w : workers)
        w.join();
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Quarters, EveryFrequency, testing::Values(0, 1, 2, 3));
