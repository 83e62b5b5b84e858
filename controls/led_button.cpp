#include "led_button.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

bool MatchesAccelerator(QChar character, const QString &caption)
{
    const qsizetype ampersand = caption.indexOf(u'&');
    if (ampersand < 0 || ampersand == caption.size() - 1)
        return false;
    auto upper = [](QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - u'a' + u'A') : c; };
    return upper(caption[ampersand + 1]) == upper(character);
}

QString CaptionAsRead(QString caption)
{
    const qsizetype ampersand = caption.indexOf(u'&');
    if (ampersand >= 0 && ampersand < caption.size() - 1)
        caption.remove(ampersand, 1);
    return caption;
}

TLEDButton::TLEDButton(QWidget *parent)
    : TKeyboardControl(parent)
{
    resize(InitialSize);
    buttonFont.Face = font();
    ContrastColors(color, look.Light, look.Shadow, 5, 4);
    RecomputeLEDOff();
}

void TLEDButton::RecomputeLEDOff()
{
    TColor unusedLight = 0;
    ContrastColors(colorLED, unusedLight, colorLEDOff, ledContrast, ledContrast);
}

void TLEDButton::SetBeveled(bool value)
{
    if (look.Beveled == value)
        return;
    look.Beveled = value;
    update();
}

void TLEDButton::SetBorderStyle(TBorderStyle value)
{
    if (look.BorderStyle == value)
        return;
    look.BorderStyle = value;
    update();
}

void TLEDButton::SetButtonDirection(TButtonDirection value)
{
    if (look.Direction == value)
        return;
    look.Direction = value;
    update();
}

void TLEDButton::SetCaption(const QString &value)
{
    if (caption == value)
        return;
    caption = value;
    RequestRepaint();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TLEDButton::SetColor(TColor value)
{
    if (color == value)
        return;
    color = value;
    ContrastColors(color, look.Light, look.Shadow, 5, 4);
    update();
}

void TLEDButton::SetColorLED(TColor value)
{
    if (colorLED == value)
        return;
    colorLED = value;
    RecomputeLEDOff();
    update();
}

void TLEDButton::SetDepth(int value)
{
    if (look.Depth == value)
        return;
    look.Depth = value;
    update();
}

void TLEDButton::SetFont(const TFont &value)
{
    buttonFont = value;
    update();
}

void TLEDButton::SetGlyph(const QImage &value)
{
    glyph = value.copy();
    update();
}

void TLEDButton::SetLEDContrast(int value)
{
    if (value < 0 || value > MaxContrast || ledContrast == value)
        return;
    ledContrast = static_cast<TContrast>(value);
    RecomputeLEDOff();
    update();
}

void TLEDButton::SetNumGlyphs(int value)
{
    if (value < 0 || value > MaxNumGlyphs || numGlyphs == value)
        return;
    numGlyphs = static_cast<TNumGlyphs>(value);
    update();
}

void TLEDButton::SetShowLED(bool value)
{
    if (showLED == value)
        return;
    showLED = value;
    update();
}

void TLEDButton::SetStateOn(bool value)
{
    if (stateOn == value)
        return;
    stateOn = value;
    RequestRepaint();
    AnnounceLight();
}

void TLEDButton::RequestRepaint()
{
    if (!repaintHeld)
        update();
}

void TLEDButton::HoldRepaint()
{
    if (repaintHeld)
        return;
    repaintHeld = true;
    heldCaption = caption;
    heldStateOn = stateOn;
}

void TLEDButton::ReleaseRepaint()
{
    if (!repaintHeld)
        return;
    repaintHeld = false;
    if (caption != heldCaption || stateOn != heldStateOn)
        update();
}

void TLEDButton::AnnounceLight()
{
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TLEDButton::SetSwitching(bool value)
{
    switching = value;
}

void TLEDButton::SetTextPosition(TTextPosition value)
{
    if (textPosition == value)
        return;
    textPosition = value;
    update();
}

void TLEDButton::Click()
{
    if (OnClick)
        OnClick(this);
}

bool TLEDButton::DialogChar(QChar character)
{
    if (!MatchesAccelerator(character, caption))
        return false;
    if (isEnabled()) {
        Click();
        if (switching) {
            stateOn = !stateOn;
            AnnounceLight();
        }
        update();
    }
    return true;
}

bool TLEDButton::event(QEvent *event)
{
    if (event->type() == QEvent::ContextMenu && pressed && contextMenuPolicy() != Qt::PreventContextMenu) {
        clickArmed = false;
        Release(false);
    }
    return TKeyboardControl::event(event);
}

void TLEDButton::mousePressEvent(QMouseEvent *event)
{
    pressed = true;
    clickArmed = event->button() == Qt::LeftButton;
    update();
}

// The second press of a double click raises OnDblClick instead of the click of its release.
void TLEDButton::mouseDoubleClickEvent(QMouseEvent *)
{
    pressed = true;
    clickArmed = false;
    update();
    if (OnDblClick)
        OnDblClick(this);
}

void TLEDButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = clickArmed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    clickArmed = false;
    Release(click);
}

void TLEDButton::Release(bool clicked)
{
    if (clicked)
        Click();
    pressed = false;
    if (switching) {
        stateOn = !stateOn;
        AnnounceLight();
    }
    repaint();
}

void TLEDButton::Press()
{
    if (isEnabled())
        Release(true);
}

void TLEDButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.SetFont(buttonFont);
    const TBox client{0, 0, width(), height()};
    TBox paint = client;
    if (!caption.isEmpty() && (textPosition == tpAbove || textPosition == tpBelow))
        DrawCaption(canvas, client);
    // The band is not filled: the caption stands on the parent's background.
    if (textPosition == tpAbove)
        paint.Top += canvas.TextWidth(u"W"_s) + 2;
    else if (textPosition == tpBelow)
        paint.Bottom -= canvas.TextWidth(u"W"_s) + 2;
    canvas.SetBrushColor(color);
    canvas.FillRect(paint.Left, paint.Top, paint.Right, paint.Bottom);
    DrawBevel(canvas, paint, look, pressed);
    canvas.SetPenColor(clBlack);
    if (showLED)
        DrawLED(canvas, paint);
    if (!caption.isEmpty() && textPosition == tpOnButton)
        DrawCaption(canvas, paint);
    canvas.SetBrushColor(color);
    if (numGlyphs > 0 && textPosition != tpOnButton)
        DrawGlyph(canvas, paint);
    if (ShowsFocusMark())
        DrawFocusMark(canvas, buttonFont.Color);
}

void TLEDButton::DrawLED(TCanvas &canvas, TBox &paint) const
{
    canvas.SetBrushColor(!isEnabled() ? color : stateOn ? colorLED : colorLEDOff);
    const TLEDSlot placed = PlaceLEDSlot(paint, look.Depth, look.Direction, pressed);
    canvas.Rectangle(placed.Slot.Left, placed.Slot.Top, placed.Slot.Right, placed.Slot.Bottom);
    paint = placed.Rest;
}

void TLEDButton::DrawCaption(TCanvas &canvas, const TBox &box) const
{
    canvas.SetBrushClear();
    TFont shown = buttonFont;
    if (!isEnabled())
        shown.Color = clGrayText;
    canvas.SetFont(shown);
    const auto place = textPosition == tpAbove   ? TCanvas::VerticalPlace::Top
                       : textPosition == tpBelow ? TCanvas::VerticalPlace::Bottom
                                                 : TCanvas::VerticalPlace::Middle;
    canvas.TextInBox(box.Left, box.Top, box.Right, box.Bottom, caption, place);
    canvas.SetFont(buttonFont);
}

// The glyph strip holds NumGlyphs images side by side: normal, disabled, on. The colour of its
// bottom-left pixel is transparent and shows the face.
void TLEDButton::DrawGlyph(TCanvas &canvas, const TBox &paint) const
{
    if (glyph.isNull())
        return;
    const int w = glyph.width() / numGlyphs;
    const int g = glyph.height();
    int s = 0;
    if (!isEnabled())
        s = w + 1;
    else if (stateOn && numGlyphs > 2)
        s = 2 * w + 1;
    const int left = (paint.Left + paint.Right - w) / 2;
    const int top = (paint.Top + paint.Bottom - g) / 2;
    canvas.DrawTransparent(left, top, glyph, QRect(s, 0, w, g), glyph.pixel(0, g - 1));
}
