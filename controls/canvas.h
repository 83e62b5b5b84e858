#pragma once

#include "colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

#include <span>

class QPainter;

// A font as the controls own it: the face and the colour of its text.
struct TFont
{
    QFont Face;
    TColor Color = clWindowText;
    bool operator==(const TFont &other) const = default;
};

// Drawing with the classic pixel rules, on top of a QPainter:
// - boxes are given as (left, top, right, bottom) with the right column and bottom row excluded;
//   a box with right <= left or bottom <= top is empty and draws nothing;
// - a line from A to B paints up to but not including B, and leaves the pen position at B;
// - a rectangle is its one-pixel outline in the pen colour along the inside of the box, and an
//   interior in the brush;
// - a polygon fills every pixel whose centre lies inside it (even-odd rule) and is outlined
//   through every vertex;
// - an ellipse fills the pixels whose centres lie inside the ellipse inscribed in its box, the
//   outermost of them (those with a side neighbour outside) in the pen colour.
// A clear brush fills nothing. Setting the brush colour makes the brush solid again.
class TCanvas
{
public:
    explicit TCanvas(QPainter &painter);

    void SetPenColor(TColor color) { penColor = ToQColor(color); }
    void SetPenWidth(int width) { penWidth = width; }
    void SetBrushColor(TColor color)
    {
        brushColor = ToQColor(color);
        brushClear = false;
    }
    void SetBrushClear() { brushClear = true; }
    void SetFont(const TFont &font);

    void MoveTo(int x, int y) { penPosition = {x, y}; }
    void LineTo(int x, int y);
    void Line(QPoint from, QPoint to);

    void FillRect(int left, int top, int right, int bottom);
    void FrameRect(int left, int top, int right, int bottom);
    // A one-pixel outline along the inside of the box in the pen colour, every other pixel
    // (those whose column and row add up to an even number).
    void DottedFrame(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);
    void Polygon(std::span<const QPoint> points);
    void Ellipse(int left, int top, int right, int bottom);

    enum class VerticalPlace { Top, Middle, Bottom };
    // One line of text centred horizontally in the box, transparently, "&" underlining the
    // letter after it; clipped to the box.
    void TextInBox(int left, int top, int right, int bottom, const QString &text, VerticalPlace place);
    int TextWidth(const QString &text) const;

    void Draw(int x, int y, const QImage &image);
    // Copies `source` of `image` to (x, y); its pixels of the colour `transparent` are painted
    // in the brush colour instead, and the part of `source` outside the image is not drawn.
    void DrawTransparent(int x, int y, const QImage &image, const QRect &source, QRgb transparent);

private:
    void Plot(int x, int y, const QColor &color);
    void Span(int left, int right, int y, const QColor &color); // columns left..right-1
    void Column(int x, int top, int bottom, const QColor &color); // rows top..bottom-1
    void ThinLine(QPoint from, QPoint to);
    void WideLine(QPoint from, QPoint to);

    QPainter &painter;
    QColor penColor{Qt::black};
    int penWidth = 1;
    QColor brushColor{Qt::white};
    bool brushClear = false;
    TFont font;
    QPoint penPosition;
};
