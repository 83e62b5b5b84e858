#include "app_icon.h"

#include "Faceplate.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// A 7 keeps its shape down to 16 pixels, where a lit middle segment would be all outline.
constexpr int ShownDigit = 7;

// The face and its one-digit readout at one size.
struct TIcon
{
    explicit TIcon(int size);

    TButtonPanel face;
    TLEDDisplay display{&face};
};

TIcon::TIcon(int size)
{
    // Below 32 pixels the readout drops its frame and segment outlines, so the segments keep
    // every pixel there is.
    const bool framed = size >= 32;
    face.resize(size, size);
    face.SetShowLED(false);
    face.SetColor(clGray);
    face.SetBorderStyle(bsSingle);
    face.SetPanelDirection(bdBottomUp);
    face.SetDepth(std::max(0, size / 32 - 1));

    const int width = framed ? size * 9 / 16 : size * 5 / 8;
    const int height = size * 3 / 4;
    // Centred above the bevel's thicker bottom.
    display.setGeometry((size - width) / 2, (size - height - face.Depth()) / 2, width, height);
    display.SetNumDigits(1);
    display.SetDecSeparator(dsNone);
    display.SetSegmentStyle(ssBeveled);
    display.SetDrawDigitShapes(framed);
    display.SetLEDContrast(framed ? 6 : 8);
    display.SetColorLED(ReadoutColor);
    display.SetColorBackGround(clBlack);
    display.SetBevelStyle(framed ? bvLowered : bvNone);
    display.SetBorderStyle(framed ? bsSingle : bsNone);
    const int margin = framed ? std::max(2, width / 8) : 1;
    display.SetDigitWidth(width - 2 * margin);
    display.SetDigitHeight(height - 2 * margin);
    // Segments an eighth of the readout wide, rounded.
    display.SetDigitLineWidth((width + 4) / 8);
    display.SetValue(ShownDigit);
}

QString Color(TColor color)
{
    return ToQColor(color).name();
}

// The attributes of a fill and, if given, a one-pixel outline.
QString Paint(std::optional<TColor> fill, std::optional<TColor> stroke)
{
    QString paint = u" fill=\"%1\""_s.arg(fill ? Color(*fill) : u"none"_s);
    if (stroke)
        paint += u" stroke=\"%1\" stroke-linejoin=\"round\""_s.arg(Color(*stroke));
    return paint;
}

QString Polygon(const QList<QPointF> &points, TColor fill, std::optional<TColor> stroke = {})
{
    QStringList list;
    for (const QPointF point : points)
        list << QString::number(point.x()) + u',' + QString::number(point.y());
    return u"<polygon points=\"%1\"%2/>\n"_s.arg(list.join(u' '), Paint(fill, stroke));
}

// A box, filled, or outlined along its inside as the canvas draws a rectangle.
QString Rect(const QRectF &box, std::optional<TColor> fill, std::optional<TColor> stroke = {})
{
    const QRectF shape = stroke ? box.adjusted(0.5, 0.5, -0.5, -0.5) : box;
    return u"<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"%5/>\n"_s.arg(shape.x())
        .arg(shape.y())
        .arg(shape.width())
        .arg(shape.height())
        .arg(Paint(fill, stroke));
}

// The face: its colour, the one-pixel border, a light line along the top, a light wedge on the
// left, and a dark wedge on the right above a dark band D + 1 pixels high.
QString FaceSvg(const TButtonPanel &face)
{
    const double a = 1;
    const double b = face.width() - 1;
    const double d = face.Depth() + 1;
    return Rect(face.rect(), face.Color(), clWindowFrame) + Rect({a, a, b - a, 1}, face.ColorLight()) +
           Polygon({{a, a}, {a + d, b - d}, {a, b}}, face.ColorLight()) +
           Polygon({{b, a}, {b, b}, {b - d, b - d}}, face.ColorShadow()) +
           Polygon({{a, b}, {a + d, b - d}, {b - d, b - d}, {b, b}}, face.ColorShadow());
}

// The readout, framed as at the SVG's size: background, the digit image where the control centres
// it, then the lowered bevel and inside it the border.
QString DisplaySvg(const TLEDDisplay &display)
{
    const QRect box = display.geometry();
    const TDigitGeometry digit(display.DigitWidth(), display.DigitHeight(), display.DigitLineWidth());
    const QPoint origin =
        box.topLeft() + QPoint((box.width() - digit.Width) / 2, (box.height() - digit.Height) / 2);
    QString svg = Rect(box, display.ColorBackGround()) +
                  Rect(QRect(origin, QSize(digit.Width, digit.Height)), display.ColorBackGround(), display.ColorShape());
    const auto &colors = display.SegmentColors()[ShownDigit];
    for (int k = 0; k < SegmentCount; ++k) {
        // Pixel centres, where the control's outline runs.
        QList<QPointF> points;
        for (const int point : TDigitGeometry::Polygons[k])
            if (point >= 0)
                points << QPointF(origin + digit.Points[point]) + QPointF(0.5, 0.5);
        svg += Polygon(points, colors[k], display.ColorShape());
    }
    const QRectF edge = box;
    return svg + Rect({edge.left(), edge.top(), edge.width() - 1, 1}, clBtnShadow) +
           Rect({edge.left(), edge.top(), 1, edge.height() - 1}, clBtnShadow) +
           Rect({edge.left(), edge.bottom() - 1, edge.width(), 1}, clBtnHighlight) +
           Rect({edge.right() - 1, edge.top(), 1, edge.height()}, clBtnHighlight) +
           Rect(edge.adjusted(1, 1, -1, -1), std::nullopt, clWindowFrame);
}

} // namespace

QImage RenderIcon(int size)
{
    TIcon icon(size);
    QImage image(size, size, QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::transparent);
    icon.face.render(&image);
    return image;
}

QByteArray IconSvg()
{
    constexpr int Size = IconSizes.back();
    const TIcon icon(Size);
    const QString head = u"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"_s;
    return (head.arg(Size) + FaceSvg(icon.face) + DisplaySvg(icon.display) + u"</svg>\n"_s).toUtf8();
}

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(RenderIcon(size)));
    return icon;
}
