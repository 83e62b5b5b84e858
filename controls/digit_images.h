#pragma once

#include "colors.h"
#include "faceplate_types.h"

#include <QImage>
#include <QPoint>

#include <array>

// Segments of a digit: 0 top, 1 upper left, 2 upper right, 3 middle, 4 lower left,
// 5 lower right, 6 bottom.
constexpr int SegmentCount = 7;
using TSegmentFlags = std::array<bool, SegmentCount>;

// The segments each digit lights. The 6 has no top; the 9 has its bottom; the 7 no upper left.
constexpr std::array<TSegmentFlags, 10> DigitSegments = {{
    {1, 1, 1, 0, 1, 1, 1}, // 0
    {0, 0, 1, 0, 0, 1, 0}, // 1
    {1, 0, 1, 1, 1, 0, 1}, // 2
    {1, 0, 1, 1, 0, 1, 1}, // 3
    {0, 1, 1, 1, 0, 1, 0}, // 4
    {1, 1, 0, 1, 0, 1, 1}, // 5
    {0, 1, 0, 1, 1, 1, 1}, // 6
    {1, 0, 1, 0, 0, 1, 0}, // 7
    {1, 1, 1, 1, 1, 1, 1}, // 8
    {1, 1, 1, 1, 0, 1, 1}, // 9
}};

// Where the segments of a width x height digit with lines `line` wide lie: the fourteen corner
// points of the bevelled polygons, and the end points of the rectangular style's lines.
struct TDigitGeometry
{
    TDigitGeometry(int width, int height, int line);

    int Width;
    int Height;
    int LineWidth;
    std::array<QPoint, 14> Points;
    std::array<std::array<QPoint, 2>, SegmentCount> Lines;

    // The points of each bevelled segment's polygon, in drawing order.
    static constexpr std::array<std::array<int, 6>, SegmentCount> Polygons = {{
        {0, 1, 3, 2, -1, -1},
        {0, 2, 5, 4, -1, -1},
        {1, 7, 6, 3, -1, -1},
        {4, 5, 6, 7, 9, 8},
        {4, 8, 11, 10, -1, -1},
        {7, 13, 12, 9, -1, -1},
        {10, 11, 12, 13, -1, -1},
    }};
};

// The look every digit image shares.
struct TDigitLook
{
    TSegmentStyle Style = ssBeveled;
    TColor Background = clBlack;
    TColor Outline = clBlack; // segment outlines and the frame of the image
};

// One digit image: the frame and background, then the seven segments in their colours.
QImage RenderDigit(const TDigitGeometry &geometry, const TDigitLook &look,
                   const std::array<TColor, SegmentCount> &segmentColors);
