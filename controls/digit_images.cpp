#include "digit_images.h"

#include "canvas.h"

#include <QPainter>

#include <vector>

TDigitGeometry::TDigitGeometry(int width, int height, int line)
    : Width(width)
    , Height(height)
    , LineWidth(line)
{
    const int W = width;
    const int H = height;
    const int L = line;
    const int h = H / 2;
    const int e = (L + 2) / 2;
    Points = {QPoint(0, 0),           QPoint(W - 1, 0),         QPoint(L + 1, L + 1),
              QPoint(W - L - 2, L + 1), QPoint(0, h),            QPoint(L + 1, h - e),
              QPoint(W - L - 2, h - e), QPoint(W - 1, h),        QPoint(L + 1, h + e),
              QPoint(W - L - 2, h + e), QPoint(0, H - 1),        QPoint(L + 1, H - L - 2),
              QPoint(W - L - 2, H - L - 2), QPoint(W - 1, H - 1)};
    const int s = L / 2;
    const int t = (3 * L) / 2;
    Lines = {{
        {QPoint(L, s), QPoint(W - L - 1, s)},
        {QPoint(s, t), QPoint(s, h - L)},
        {QPoint(W - s - 1, t), QPoint(W - s - 1, h - L)},
        {QPoint(L, h), QPoint(W - L, h)},
        {QPoint(s, h + L), QPoint(s, H - t)},
        {QPoint(W - s - 1, h + L), QPoint(W - s - 1, H - t)},
        {QPoint(L, H - s - 1), QPoint(W - L, H - s - 1)},
    }};
}

QImage RenderDigit(const TDigitGeometry &geometry, const TDigitLook &look,
                   const std::array<TColor, SegmentCount> &segmentColors)
{
    if (geometry.Width <= 0 || geometry.Height <= 0)
        return {};
    QImage image(geometry.Width, geometry.Height, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.SetPenColor(look.Outline);
    canvas.SetPenWidth(1);
    canvas.SetBrushColor(look.Background);
    canvas.Rectangle(0, 0, geometry.Width, geometry.Height);
    if (look.Style == ssRectangular)
        canvas.SetPenWidth(geometry.LineWidth);

    std::vector<QPoint> polygon;
    for (int k = 0; k < SegmentCount; ++k) {
        canvas.SetBrushColor(segmentColors[k]);
        if (look.Style == ssBeveled) {
            polygon.clear();
            for (const int point : TDigitGeometry::Polygons[k])
                if (point >= 0)
                    polygon.push_back(geometry.Points[point]);
            canvas.Polygon(polygon);
        } else {
            canvas.SetPenColor(segmentColors[k]);
            canvas.Line(geometry.Lines[k][0], geometry.Lines[k][1]);
        }
    }
    return image;
}
