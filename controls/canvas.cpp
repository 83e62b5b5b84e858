#include "canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

TCanvas::TCanvas(QPainter &painter)
    : painter(painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void TCanvas::SetFont(const TFont &newFont)
{
    font = newFont;
}

void TCanvas::Plot(int x, int y, const QColor &color)
{
    painter.fillRect(x, y, 1, 1, color);
}

void TCanvas::Span(int left, int right, int y, const QColor &color)
{
    if (right > left)
        painter.fillRect(left, y, right - left, 1, color);
}

void TCanvas::Column(int x, int top, int bottom, const QColor &color)
{
    if (bottom > top)
        painter.fillRect(x, top, 1, bottom - top, color);
}

void TCanvas::LineTo(int x, int y)
{
    Line(penPosition, {x, y});
}

void TCanvas::Line(QPoint from, QPoint to)
{
    if (penWidth > 1)
        WideLine(from, to);
    else
        ThinLine(from, to);
    penPosition = to;
}

// Bresenham from `from`, stopping before `to`.
void TCanvas::ThinLine(QPoint from, QPoint to)
{
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    // Lines along an axis are one rectangle each: most of what the controls draw.
    if (dy == 0) {
        Span(sx > 0 ? x : to.x() + 1, sx > 0 ? to.x() : x + 1, y, penColor);
        return;
    }
    if (dx == 0) {
        Column(x, sy > 0 ? y : to.y() + 1, sy > 0 ? to.y() : y + 1, penColor);
        return;
    }
    int error = dx + dy;
    while (x != to.x() || y != to.y()) {
        Plot(x, y, penColor);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

// A pen of several pixels covers a band of that width centred on the line. Lines along an axis
// are exact (end point excluded); slanted ones are left to QPainter with flat ends.
void TCanvas::WideLine(QPoint from, QPoint to)
{
    const int before = (penWidth - 1) / 2 + (penWidth % 2 == 0 ? 1 : 0);
    if (from.y() == to.y()) {
        const int left = from.x() < to.x() ? from.x() : to.x() + 1;
        const int right = from.x() < to.x() ? to.x() : from.x() + 1;
        if (right > left)
            painter.fillRect(left, from.y() - before, right - left, penWidth, penColor);
    } else if (from.x() == to.x()) {
        const int top = from.y() < to.y() ? from.y() : to.y() + 1;
        const int bottom = from.y() < to.y() ? to.y() : from.y() + 1;
        if (bottom > top)
            painter.fillRect(from.x() - before, top, penWidth, bottom - top, penColor);
    } else {
        painter.setPen(QPen(penColor, penWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(from) + QPointF(0.5, 0.5), QPointF(to) + QPointF(0.5, 0.5));
        painter.setPen(Qt::NoPen);
    }
}

void TCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right > left && bottom > top && !brushClear)
        painter.fillRect(left, top, right - left, bottom - top, brushColor);
}

void TCanvas::FrameRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top || brushClear)
        return;
    Span(left, right, top, brushColor);
    Span(left, right, bottom - 1, brushColor);
    Column(left, top + 1, bottom - 1, brushColor);
    Column(right - 1, top + 1, bottom - 1, brushColor);
}

void TCanvas::DottedFrame(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    auto dot = [this](int x, int y) {
        if ((x + y) % 2 == 0)
            Plot(x, y, penColor);
    };
    for (int x = left; x < right; ++x) {
        dot(x, top);
        dot(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        dot(left, y);
        dot(right - 1, y);
    }
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    FillRect(left + 1, top + 1, right - 1, bottom - 1);
    Span(left, right, top, penColor);
    Span(left, right, bottom - 1, penColor);
    Column(left, top + 1, bottom - 1, penColor);
    Column(right - 1, top + 1, bottom - 1, penColor);
}

void TCanvas::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    if (!brushClear) {
        const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                     [](QPoint a, QPoint b) { return a.y() < b.y(); });
        std::vector<double> crossings;
        for (int y = low->y(); y < high->y(); ++y) {
            crossings.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const QPoint a = points[i];
                const QPoint b = points[(i + 1) % points.size()];
                if ((a.y() <= y) != (b.y() <= y))
                    crossings.push_back(a.x() + double(y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
                Span(static_cast<int>(std::ceil(crossings[i])), static_cast<int>(std::ceil(crossings[i + 1])), y,
                     brushColor);
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        ThinLine(points[i], points[(i + 1) % points.size()]);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        const double u = (x + 0.5 - cx) / rx;
        const double v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge)
                Plot(x, y, penColor);
            else if (!brushClear)
                Plot(x, y, brushColor);
        }
}

void TCanvas::TextInBox(int left, int top, int right, int bottom, const QString &text, VerticalPlace place)
{
    int flags = Qt::AlignHCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    switch (place) {
    case VerticalPlace::Top: flags |= Qt::AlignTop; break;
    case VerticalPlace::Middle: flags |= Qt::AlignVCenter; break;
    case VerticalPlace::Bottom: flags |= Qt::AlignBottom; break;
    }
    painter.save();
    painter.setClipRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
    painter.setFont(font.Face);
    painter.setPen(ToQColor(font.Color));
    painter.drawText(QRect(left, top, right - left, bottom - top), flags, text);
    painter.restore();
}

int TCanvas::TextWidth(const QString &text) const
{
    return QFontMetrics(font.Face).horizontalAdvance(text);
}

void TCanvas::Draw(int x, int y, const QImage &image)
{
    painter.drawImage(x, y, image);
}

void TCanvas::DrawTransparent(int x, int y, const QImage &image, const QRect &source, QRgb transparent)
{
    // Only the part of the source inside the bitmap is copied; beyond it the face shows.
    const QRect inside = source.intersected(image.rect());
    if (inside.isEmpty())
        return;
    QImage part = image.copy(inside).convertToFormat(QImage::Format_RGB32);
    const QRgb fill = brushColor.rgb();
    for (int row = 0; row < part.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(part.scanLine(row));
        for (int column = 0; column < part.width(); ++column)
            if ((line[column] | 0xFF000000u) == (transparent | 0xFF000000u))
                line[column] = fill;
    }
    painter.drawImage(x + inside.left() - source.left(), y + inside.top() - source.top(), part);
}
