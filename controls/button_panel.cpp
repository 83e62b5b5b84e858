#include "button_panel.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

TButtonPanel::TButtonPanel(QWidget *parent)
    : TKeyboardControl(parent)
{
    resize(InitialSize);
    panelFont.Face = font();
    ContrastColors(color, look.Light, look.Shadow, 5, 4);
}

void TButtonPanel::SetBeveled(bool value)
{
    if (look.Beveled == value)
        return;
    look.Beveled = value;
    update();
}

void TButtonPanel::SetBorderStyle(TBorderStyle value)
{
    if (look.BorderStyle == value)
        return;
    look.BorderStyle = value;
    update();
}

void TButtonPanel::SetCaption(const QString &value)
{
    if (caption == value)
        return;
    caption = value;
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TButtonPanel::SetColor(TColor value)
{
    if (color == value)
        return;
    color = value;
    ContrastColors(color, look.Light, look.Shadow, 5, 4);
    update();
}

void TButtonPanel::SetDepth(int value)
{
    if (look.Depth == value)
        return;
    look.Depth = value;
    update();
}

void TButtonPanel::SetFont(const TFont &value)
{
    if (panelFont == value)
        return;
    panelFont = value;
    update();
}

void TButtonPanel::SetPanelDirection(TButtonDirection value)
{
    if (look.Direction == value)
        return;
    look.Direction = value;
    update();
}

void TButtonPanel::SetShowLED(bool value)
{
    if (showLED == value)
        return;
    showLED = value;
    update();
}

void TButtonPanel::mousePressEvent(QMouseEvent *event)
{
    clickArmed = event->button() == Qt::LeftButton;
}

void TButtonPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = clickArmed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    clickArmed = false;
    if (click)
        Press();
}

void TButtonPanel::Press()
{
    if (isEnabled() && OnClick)
        OnClick(this);
}

void TButtonPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.SetFont(panelFont);
    TBox paint{0, 0, width(), height()};
    canvas.SetBrushColor(color);
    canvas.FillRect(paint.Left, paint.Top, paint.Right, paint.Bottom);
    DrawBevel(canvas, paint, look, false);
    canvas.SetPenColor(clBlack);
    if (showLED) {
        // An empty, unlit LED frame: the face shows through.
        canvas.SetBrushColor(clWindowFrame);
        const TLEDSlot placed = PlaceLEDSlot(paint, look.Depth, look.Direction, false);
        canvas.FrameRect(placed.Slot.Left, placed.Slot.Top, placed.Slot.Right, placed.Slot.Bottom);
        paint = placed.Rest;
    }
    if (!caption.isEmpty()) {
        canvas.SetBrushClear();
        canvas.TextInBox(paint.Left, paint.Top, paint.Right, paint.Bottom, caption, TCanvas::VerticalPlace::Middle);
    }
    if (ShowsFocusMark())
        DrawFocusMark(canvas, panelFont.Color);
}
