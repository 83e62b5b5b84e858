#include "app_icon.h"

#include "colors.h"

#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The main window's readout colour, which the lit segments share.
const QRgb LitSegment = ToQColor(16773680).rgb();

int Count(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

bool Opaque(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

bool Near(QRgb a, QRgb b)
{
    constexpr int Tolerance = 40;
    return std::abs(qRed(a) - qRed(b)) <= Tolerance && std::abs(qGreen(a) - qGreen(b)) <= Tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= Tolerance && std::abs(qAlpha(a) - qAlpha(b)) <= Tolerance;
}

class IconSize : public testing::TestWithParam<int>
{
};

TEST_P(IconSize, IsSquareOpaqueAndShowsLitSegments)
{
    const int size = GetParam();
    const QImage icon = RenderIcon(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(Opaque(icon));
    // The 7 lights three of its seven segments.
    const int lit = Count(icon, LitSegment);
    EXPECT_GT(lit, size * size / 50);
    EXPECT_LT(lit, size * size / 4);
}

INSTANTIATE_TEST_SUITE_P(Hicolor, IconSize, testing::ValuesIn(IconSizes));

// Pixels worked out from the drawing's rules. The face: a one-pixel border, a light top line and
// left wedge, a dark bottom band max(0, size / 32 - 1) + 1 pixels high. The readout, 9/16 of the
// size wide and 3/4 high, centred above that band: from 32 pixels up framed by a lowered bevel
// and a border; at 16 pixels, 5/8 wide and unframed, its black background reaches its corner.
TEST(IconPixels, FrameFromThirtyTwoPixelsUpAndBevelDepthBySize)
{
    const QRgb border = ToQColor(clWindowFrame).rgb();
    const QRgb face = ToQColor(clGray).rgb();
    const QRgb light = qRgb(0xBF, 0xBF, 0xBF);
    const QRgb dark = qRgb(0x4D, 0x4D, 0x4D);
    const QRgb bevelShadow = ToQColor(clBtnShadow).rgb();
    const QRgb bevelLight = ToQColor(clBtnHighlight).rgb();
    const QRgb black = qRgb(0, 0, 0);
    const struct
    {
        int size;
        QPoint pixel;
        QRgb colour;
        const char *what;
    } cases[] = {
        {16, {8, 0}, border, "border"},           {16, {8, 1}, light, "top line"},
        {16, {1, 8}, light, "left wedge"},        {16, {2, 8}, face, "face"},
        {16, {8, 14}, dark, "one-pixel band"},    {16, {8, 13}, black, "readout above the band"},
        {16, {3, 2}, black, "unframed readout"},  {16, {2, 2}, face, "face beside it"},
        {32, {0, 0}, border, "border"},           {32, {16, 1}, light, "top line"},
        {32, {16, 30}, dark, "one-pixel band"},   {32, {16, 29}, face, "face above the band"},
        {32, {7, 4}, bevelShadow, "bevel corner"}, {32, {24, 27}, bevelLight, "bevel's far corner"},
        {32, {8, 5}, border, "readout border"},   {32, {6, 4}, face, "face beside the readout"},
        {256, {128, 254}, dark, "band bottom"},   {256, {128, 247}, dark, "band top, 8 pixels up"},
        {256, {128, 246}, face, "face above it"}, {256, {254, 128}, dark, "right wedge"},
        {256, {247, 128}, face, "face beside it"}, {256, {56, 28}, bevelShadow, "bevel corner"},
        {256, {199, 219}, bevelLight, "bevel's far corner"}, {256, {57, 29}, border, "readout border"},
        {256, {55, 28}, face, "face beside the readout"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RenderIcon(c.size).pixel(c.pixel) & 0xFFFFFFu, c.colour & 0xFFFFFFu)
            << c.size << " px, " << c.what << " at " << c.pixel.x() << "," << c.pixel.y();
}

// The scalable icon is the same picture as the largest rendered one: drawn by an SVG renderer at
// that size, nearly every pixel matches.
TEST(IconSvg, DrawsTheRenderedPicture)
{
    const QImage rendered = RenderIcon(256).convertToFormat(QImage::Format_ARGB32);
    QSvgRenderer svg(IconSvg());
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.defaultSize(), QSize(256, 256));
    QImage drawn(256, 256, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();

    int differing = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            differing += !Near(drawn.pixel(x, y), rendered.pixel(x, y));
    EXPECT_LT(differing, 256 * 256 / 100) << differing << " pixels differ";
}

} // namespace
