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
