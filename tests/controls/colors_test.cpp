#include "Faceplate.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

constexpr double Tolerance = 1e-12;

TColorTriple ToHLS(TColorTriple rgb)
{
    TColorTriple hls;
    RGB2HLS(rgb, hls);
    return hls;
}

TColorTriple ToRGB(TColorTriple hls)
{
    TColorTriple rgb;
    HLS2RGB(hls, rgb);
    return rgb;
}

void ExpectTriple(const TColorTriple &actual, const TColorTriple &expected, double tolerance = Tolerance)
{
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance) << "component " << k;
}

std::string MessageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EColorConv &error) {
        return error.what();
    }
    return "no exception";
}

std::pair<TColor, TColor> Contrast(TColor color, int light, int dark)
{
    TColor l = 0;
    TColor d = 0;
    ContrastColors(color, l, d, light, dark);
    return {l, d};
}

// Runs check(c) for every 24-bit colour from `first` (inclusive) to `last` (exclusive) on every
// core; returns how many colours failed.
template <typename Check>
long CountFailures(std::uint32_t first, std::uint32_t last, Check check)
{
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::atomic<long> failures{0};
    std::vector<std::thread> workers;
    const std::uint32_t share = (last - first + threads - 1) / threads;
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            long mine = 0;
            const std::uint32_t begin = first + t * share;
            const std::uint32_t end = std::min(last, begin + share);
            for (std::uint32_t c = begin; c < end; ++c)
                mine += check(c) ? 0 : 1;
            failures += mine;
        });
    for (std::thread &w : workers)
        w.join();
    return failures;
}

TColorTriple TripleOf(std::uint32_t c)
{
    return {(c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0};
}

} // namespace

TEST(RGB2HLSTest, PureAndMixedColours)
{
    ExpectTriple(ToHLS({1, 0, 0}), {1, 0.5, 1});
    ExpectTriple(ToHLS({0, 1, 0}), {1.0 / 3, 0.5, 1});
    ExpectTriple(ToHLS({0, 0, 1}), {2.0 / 3, 0.5, 1});
    ExpectTriple(ToHLS({1, 1, 0}), {1.0 / 6, 0.5, 1});
    ExpectTriple(ToHLS({0.75, 0.5, 0.25}), {1.0 / 12, 0.5, 0.5});
    ExpectTriple(ToHLS({0.6, 0.2, 0.2}), {1, 0.4, 0.5});
}

TEST(RGB2HLSTest, Greys)
{
    ExpectTriple(ToHLS({0.5, 0.5, 0.5}), {0, 0.5, 0});
    ExpectTriple(ToHLS({0.25, 0.25, 0.25}), {0, 0.25, 0});
    ExpectTriple(ToHLS({1, 1, 1}), {0, 1, 0});
    ExpectTriple(ToHLS({0, 0, 0}), {0, 0, 0});
}

TEST(HLS2RGBTest, Examples)
{
    ExpectTriple(ToRGB({0, 0.5, 1}), {1, 0, 0});
    ExpectTriple(ToRGB({1, 0.5, 1}), {1, 0, 0});
    ExpectTriple(ToRGB({1.0 / 6, 0.5, 1}), {1, 1, 0});
    ExpectTriple(ToRGB({0.5, 0.75, 0.5}), {0.625, 0.875, 0.875});
    for (const double hue : {0.0, 0.2, 0.55, 0.9})
        ExpectTriple(ToRGB({hue, 0.3, 0}), {0.3, 0.3, 0.3});
}

TEST(ColorConvErrors, NameTheFirstBadComponentAndLeaveTheDestination)
{
    EXPECT_EQ(MessageOf([] { ToRGB({0.5, 1.5, 0.5}); }), "HLS2RGB: 0 <= Luminance value <= 1 required");
    EXPECT_EQ(MessageOf([] { ToHLS({0.5, -0.1, 0.5}); }), "RGB2HLS: 0 <= Green value <= 1 required");
    EXPECT_EQ(MessageOf([] { ToRGB({-1, 2, 0.5}); }), "HLS2RGB: 0 <= Hue value <= 1 required");
    EXPECT_EQ(MessageOf([] { ToHLS({0.5, 0.5, 7}); }), "RGB2HLS: 0 <= Blue value <= 1 required");
    EXPECT_EQ(MessageOf([] { ToRGB({0.5, 0.5, std::nan("")}); }), "HLS2RGB: 0 <= Saturation value <= 1 required");
    EXPECT_EQ(MessageOf([] { ToHLS({std::nan(""), 0.5, 0.5}); }), "RGB2HLS: 0 <= Red value <= 1 required");

    TColorTriple destination{0.1, 0.2, 0.3};
    EXPECT_THROW(HLS2RGB({0, 2, 0}, destination), EColorConv);
    EXPECT_THROW(RGB2HLS({0, 2, 0}, destination), EColorConv);
    ExpectTriple(destination, {0.1, 0.2, 0.3}, 0);
}

TEST(ContrastColorsTest, ShadesOfTheControls)
{
    EXPECT_EQ(Contrast(0x808080, 5, 4), std::pair(0xBFBFBF, 0x4D4D4D));
    EXPECT_EQ(Contrast(0x0000FF, 6, 6), std::pair(0x9999FF, 0x000066));
    EXPECT_EQ(Contrast(0xFF0000, 6, 6), std::pair(0xFF9999, 0x660000));
    EXPECT_EQ(Contrast(0x00FF00, 6, 6), std::pair(0x99FF99, 0x006600));
    EXPECT_EQ(Contrast(clBlack, 5, 4), std::pair(0x7F7F7F, 0x000000));
    EXPECT_EQ(Contrast(clWhite, 5, 4), std::pair(0xFFFFFF, 0x999999));
    // An ordinary colour, red $56, green $34, blue $12: each light channel is 255 - round((256 - c)
    // x factor), so 170, 153, 136 at 0.5 and 187, 173, 160 at 0.4; below half luminance the dark
    // shade scales every channel by the factor, rounded: 52, 31, 11 at 0.6 and 34, 21, 7 at 0.4.
    EXPECT_EQ(Contrast(0x123456, 5, 4), std::pair(0x8899AA, 0x0B1F34));
    EXPECT_EQ(Contrast(0x123456, 6, 6), std::pair(0xA0ADBB, 0x071522));
    // Dark contrast 0 keeps the colour; 10 makes it black and the light shade white.
    EXPECT_EQ(Contrast(0x123456, 5, 0).second, 0x123456);
    EXPECT_EQ(Contrast(0x123456, 10, 10), std::pair(0xFFFFFF, 0x000000));
}

TEST(FadeColorTest, NinthsOfTheWay)
{
    EXPECT_EQ(FadeColor(0xFFF230, clBlack, 6), 0x555110);
    EXPECT_EQ(FadeColor(0x00FF00, clBlack, 6), 0x005500);
    EXPECT_EQ(FadeColor(0x008080, clBlack, 3), 0x005555);
    for (int steps = 0; steps <= 9; ++steps)
        EXPECT_EQ(FadeColor(clBlack, clBlack, steps), clBlack);
    for (const TColor x : {0x000000, 0x123456, 0xFFF230, 0xFFFFFF})
        for (const TColor y : {0x000000, 0x808080, 0x00FF00, 0xFFFFFF}) {
            EXPECT_EQ(FadeColor(x, y, 0), x);
            EXPECT_EQ(FadeColor(x, y, 9), y);
        }
}

TEST(FadeColorTest, ChannelOutOfRangeIsARangeError)
{
    try {
        FadeColor(clBlack, clWhite, 10); // 283 in every channel
        FAIL();
    } catch (const ERangeError &error) {
        EXPECT_STREQ(error.what(), "Range check error");
    }
    EXPECT_THROW(FadeColor(clWhite, clBlack, -1), ERangeError);
}

TEST(SystemColors, ResolveToThePalettesCurrentValue)
{
    const QPalette original = QGuiApplication::palette();
    QPalette palette = original;
    palette.setColor(QPalette::Dark, QColor(0x30, 0x40, 0x50));
    palette.setColor(QPalette::Light, QColor(0xE0, 0xD0, 0xC0));
    palette.setColor(QPalette::Shadow, QColor(1, 2, 3));
    QGuiApplication::setPalette(palette);

    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x504030);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xC0D0E0);
    EXPECT_EQ(ColorToRGB(clWindowFrame), 0x030201);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(FadeColor(clBtnShadow, clBlack, 3), FadeColor(0x504030, clBlack, 3));
    EXPECT_EQ(Contrast(clBtnHighlight, 5, 4), Contrast(0xC0D0E0, 5, 4));
    EXPECT_EQ(ToQColor(clBtnShadow), QColor(0x30, 0x40, 0x50));

    QGuiApplication::setPalette(original);
}

// Both directions for every 24-bit colour, split in halves that ctest runs side by side.
class EveryColour : public testing::TestWithParam<int>
{
protected:
    std::uint32_t First() const { return GetParam() == 0 ? 0 : 1u << 23; }
    std::uint32_t Last() const { return GetParam() == 0 ? 1u << 23 : 1u << 24; }
};

TEST_P(EveryColour, RoundTripReturnsTheColour)
{
    const long failures = CountFailures(First(), Last(), [](std::uint32_t c) {
        const TColorTriple rgb = TripleOf(c);
        const TColorTriple back = ToRGB(ToHLS(rgb));
        for (int k = 0; k < 3; ++k)
            if (std::fabs(back[k] - rgb[k]) > 1e-9)
                return false;
        return true;
    });
    EXPECT_EQ(failures, 0);
}

TEST_P(EveryColour, AgreesWithTheDoubleHexcone)
{
    const long failures = CountFailures(First(), Last(), [](std::uint32_t c) {
        const TColorTriple rgb = TripleOf(c);
        const double r = rgb[0], g = rgb[1], b = rgb[2];
        const double high = std::max({r, g, b});
        const double low = std::min({r, g, b});
        const double l = (high + low) / 2;
        const double d = high - low;
        double s = 0;
        double h = 0;
        if (d > 0) {
            s = l <= 0.5 ? d / (high + low) : d / (2 - high - low);
            if (high == r)
                h = std::fmod((g - b) / d + 6, 6);
            else if (high == g)
                h = (b - r) / d + 2;
            else
                h = (r - g) / d + 4;
            h /= 6;
        }
        const TColorTriple hls = ToHLS(rgb);
        // Hue is circular: red tints come out as 1 where the textbook says 0.
        const double hueDistance = std::fabs(hls[0] - h);
        const bool hueMatches = std::min(hueDistance, 1 - hueDistance) <= 1e-9;
        return hueMatches && std::fabs(hls[1] - l) <= 1e-9 && std::fabs(hls[2] - s) <= 1e-9;
    });
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Halves, EveryColour, testing::Values(0, 1),
                         [](const auto &info) { return info.param == 0 ? "Lower" : "Upper"; });

TEST(RedTints, HaveHueOne)
{
    EXPECT_DOUBLE_EQ(ToHLS({0.9, 0.3, 0.3})[0], 1.0);
    EXPECT_DOUBLE_EQ(ToHLS({0.3, 0.1, 0.1})[0], 1.0);
}
