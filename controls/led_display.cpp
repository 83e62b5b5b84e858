#include "led_display.h"

#include "canvas.h"
#include "display_text.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <array>
#include <cmath>
#include <utility>

TLEDDisplay::TLEDDisplay(QWidget *parent)
    : TFocusMarkedControl(parent)
{
    // Every paint covers the whole control, background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(InitialSize);
    RecomputeColors();
}

void TLEDDisplay::RecomputeColors()
{
    colorLEDOff = FadeColor(colorLED, colorBackGround, ledContrast);
    colorShape = FadeColor(colorBackGround, clBlack, 3);
}

void TLEDDisplay::DefineDigit(int digit, const TSegmentFlags &segments) const
{
    for (int k = 0; k < SegmentCount; ++k)
        segmentColors[static_cast<std::size_t>(digit)][static_cast<std::size_t>(k)] =
            segments[static_cast<std::size_t>(k)] ? colorLED : colorLEDOff;
}

void TLEDDisplay::DigitLookChanged()
{
    if (digitImagesBuilt)
        BuildDigitImages();
}

void TLEDDisplay::EnsureDigitImages() const
{
    if (!digitImagesBuilt)
        BuildDigitImages();
}

const std::array<std::array<TColor, SegmentCount>, 10> &TLEDDisplay::SegmentColors() const
{
    EnsureDigitImages();
    return segmentColors;
}

const QImage &TLEDDisplay::DigitImage(int digit) const
{
    EnsureDigitImages();
    return digitImages.at(static_cast<std::size_t>(digit));
}

bool TLEDDisplay::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        EnsureDigitImages();
    return QWidget::event(event);
}

void TLEDDisplay::BuildDigitImages() const
{
    digitImagesBuilt = true;
    const TDigitGeometry geometry(digitWidth, digitHeight, digitLineWidth);
    const TDigitLook look{segmentStyle, colorBackGround, drawDigitShapes ? colorShape : colorBackGround};
    for (int digit = 0; digit < 10; ++digit) {
        DefineDigit(digit, DigitSegments[static_cast<std::size_t>(digit)]);
        digitImages[static_cast<std::size_t>(digit)] =
            RenderDigit(geometry, look, segmentColors[static_cast<std::size_t>(digit)]);
    }
}

void TLEDDisplay::SetBevelStyle(TBevelStyle newValue)
{
    if (bevelStyle == newValue)
        return;
    bevelStyle = newValue;
    update();
}

void TLEDDisplay::SetBorderStyle(TBorderStyle newValue)
{
    if (borderStyle == newValue)
        return;
    borderStyle = newValue;
    update();
}

void TLEDDisplay::SetColorBackGround(TColor newValue)
{
    if (colorBackGround == newValue)
        return;
    colorBackGround = newValue;
    RecomputeColors();
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetColorLED(TColor newValue)
{
    if (colorLED == newValue)
        return;
    colorLED = newValue;
    RecomputeColors();
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetDecSeparator(TDecSeparator newValue)
{
    if (decSeparator == newValue)
        return;
    decSeparator = newValue;
    update();
}

void TLEDDisplay::SetDigitHeight(int newValue)
{
    if (digitHeight == newValue)
        return;
    digitHeight = newValue;
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetDigitWidth(int newValue)
{
    if (digitWidth == newValue)
        return;
    digitWidth = newValue;
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetDigitLineWidth(int newValue)
{
    if (digitLineWidth == newValue)
        return;
    digitLineWidth = newValue;
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetDrawDigitShapes(bool newValue)
{
    if (drawDigitShapes == newValue)
        return;
    drawDigitShapes = newValue;
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetFractionDigits(int newValue)
{
    if (fractionDigits == newValue)
        return;
    fractionDigits = newValue;
    if (fractionDigits > numDigits - 1)
        fractionDigits = numDigits - 1;
    update();
}

void TLEDDisplay::SetLeadingZeros(bool newValue)
{
    if (leadingZeros == newValue)
        return;
    leadingZeros = newValue;
    update();
}

void TLEDDisplay::SetLEDContrast(int newValue)
{
    if (newValue < 0 || newValue > MaxContrast || ledContrast == newValue)
        return;
    ledContrast = static_cast<TContrast>(newValue);
    RecomputeColors();
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetNumDigits(int newValue)
{
    if (numDigits == newValue)
        return;
    numDigits = newValue;
    typed = MakeTypedText(typedText, numDigits);
    update();
}

void TLEDDisplay::SetSegmentStyle(TSegmentStyle newValue)
{
    if (segmentStyle == newValue)
        return;
    segmentStyle = newValue;
    DigitLookChanged();
    update();
}

void TLEDDisplay::SetValue(double newValue)
{
    if (value == newValue)
        return;
    value = newValue;
    ShowNewValue();
    Change();
}

// A network client may set the value thousands of times a second: each repaint would cost more
// than the change itself and show nothing the screen could.
void TLEDDisplay::ShowNewValue()
{
    if (valueFrame.isActive()) {
        valueWaiting = true;
        return;
    }
    update();
    valueFrame.start(ValueFrameMilliseconds, this);
}

void TLEDDisplay::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != valueFrame.timerId())
        return QWidget::timerEvent(event);
    valueFrame.stop();
    if (std::exchange(valueWaiting, false))
        ShowNewValue();
}

void TLEDDisplay::SetTypedText(const QString &newValue)
{
    if (typedText == newValue)
        return;
    typedText = newValue;
    typed = MakeTypedText(typedText, numDigits);
    update();
}

void TLEDDisplay::SetSpokenText(const QString &newValue)
{
    if (spokenText == newValue)
        return;
    spokenText = newValue;
    QAccessibleValueChangeEvent event(this, spokenText);
    QAccessible::updateAccessibility(&event);
}

int TLEDDisplay::CellAt(QPoint point) const
{
    if (numDigits < 1 || !rect().contains(point))
        return 0;
    const int cell = point.x() / (width() / numDigits) + 1;
    return cell <= numDigits ? cell : 0;
}

void TLEDDisplay::mousePressEvent(QMouseEvent *event)
{
    pressedCell = event->button() == Qt::LeftButton ? CellAt(event->position().toPoint()) : 0;
}

// A click picks the cell it was pressed on, wherever in that cell it is released.
void TLEDDisplay::mouseReleaseEvent(QMouseEvent *event)
{
    const int cell = pressedCell;
    pressedCell = 0;
    if (cell != 0 && event->button() == Qt::LeftButton && CellAt(event->position().toPoint()) == cell &&
        OnCellClick)
        OnCellClick(this, cell);
}

void TLEDDisplay::Change()
{
    if (OnChange)
        OnChange(this);
}

void TLEDDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    QRect rect = this->rect();
    canvas.SetBrushColor(colorBackGround);
    canvas.FillRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    DrawDigits(canvas);
    if (bevelStyle != bvNone)
        DrawBevel(canvas, rect);
    if (borderStyle == bsSingle) {
        canvas.SetBrushColor(clWindowFrame);
        canvas.FrameRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    }
    if (ShowsFocusMark())
        DrawFocusMark(canvas, colorLED);
}

void TLEDDisplay::DrawDigits(TCanvas &canvas) const
{
    if (numDigits < 1)
        return;
    const bool typing = !typedText.isEmpty();
    const TDisplayText shown = typing ? typed : MakeDisplayText(value, fractionDigits, numDigits);
    const int cellWidth = width() / numDigits;
    int x = (cellWidth - digitWidth) / 2;
    const int y = (height() - digitHeight) / 2;
    canvas.SetBrushColor(colorLED);
    canvas.SetPenColor(colorLED);
    bool digitDrawn = false;
    for (int j = 1; j <= numDigits; ++j) {
        const char character = shown.Characters[static_cast<std::size_t>(j - 1)];
        // Typed digits show as they were typed, zeros in front included.
        const bool blankLeadingZero = !typing && !leadingZeros && character == '0' && !digitDrawn;
        if (!blankLeadingZero) {
            // A character that is not a digit (a sign, or the letters of NaN) leaves its cell empty.
            if (character >= '0' && character <= '9')
                canvas.Draw(x, y, digitImages[static_cast<std::size_t>(character - '0')]);
            digitDrawn = true;
        }
        x += cellWidth;
        if (j == shown.SeparatorPosition - 1)
            DrawSeparator(canvas, x, y, cellWidth);
    }
}

void TLEDDisplay::DrawSeparator(TCanvas &canvas, int nextX, int top, int cellWidth) const
{
    const int L = digitLineWidth;
    const int X = nextX - 6;
    canvas.SetPenWidth(1);
    canvas.SetPenColor(drawDigitShapes ? colorShape : colorBackGround);
    canvas.SetBrushColor(colorLED);

    auto dot = [&](int atY) { canvas.Ellipse(X, atY, X + L + 1, atY + L + 1); };
    if (decSeparator == dsDoublePoint || decSeparator == dsSemicolon)
        dot((height() - 4) / 3 + top - 2);

    int Y = 0;
    switch (decSeparator) {
    case dsApostrophe: Y = top; break;
    case dsComma: Y = top + digitHeight - 2 * L - 1; break;
    case dsDoublePoint:
    case dsSemicolon: Y = ((height() - 4) * 2) / 3 + top - 2; break;
    case dsPoint: Y = top + digitHeight - L - 1; break;
    case dsHyphen:
    case dsNone: Y = (height() - L) / 2; break;
    }

    if (decSeparator == dsSemicolon || decSeparator == dsComma || decSeparator == dsApostrophe) {
        const std::array<QPoint, 3> tail{QPoint(X + L / 2, Y + L / 2), QPoint(X + L, Y + L / 2),
                                         QPoint(X + L / 2, Y + 2 * L)};
        canvas.Polygon(tail);
    }
    if (decSeparator != dsHyphen && decSeparator != dsNone)
        dot(Y);
    if (decSeparator == dsHyphen) {
        // A bar centred in the gap between the two digit images.
        const int gap = cellWidth - digitWidth;
        const int bar = static_cast<int>(std::nearbyint(gap / 3.0 * 2));
        const int left = nextX - gap + (gap - bar) / 2;
        canvas.Rectangle(left, Y, left + bar, Y + L + 1);
    }
}

void TLEDDisplay::DrawBevel(TCanvas &canvas, QRect &rect) const
{
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right() + 1;
    const int bottom = rect.bottom() + 1;
    const bool raised = bevelStyle == bvRaised;
    canvas.SetPenWidth(1);
    canvas.SetPenColor(raised ? clBtnHighlight : clBtnShadow);
    canvas.MoveTo(right - 1, top);
    canvas.LineTo(left, top);
    canvas.LineTo(left, bottom - 1);
    canvas.SetPenColor(raised ? clBtnShadow : clBtnHighlight);
    canvas.MoveTo(left, bottom - 1);
    canvas.LineTo(right - 1, bottom - 1);
    canvas.LineTo(right - 1, top);
    rect.adjust(1, 1, -1, -1);
}
