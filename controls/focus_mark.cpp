#include "focus_mark.h"

#include "canvas.h"

#include <QKeyEvent>
#include <QWidget>

void TFocusMark::FocusIn(Qt::FocusReason reason)
{
    // Coming back to the window or from a menu keeps what the focus was.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    fromKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
}

bool TFocusMark::Shown(const QWidget &control) const
{
    return fromKeyboard && control.hasFocus();
}

void DrawFocusMark(TCanvas &canvas, int width, int height, TColor color)
{
    canvas.SetPenColor(color);
    canvas.DottedFrame(2, 2, width - 2, height - 2);
}

bool IsPressKey(const QKeyEvent &event)
{
    const auto modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool key = event.key() == Qt::Key_Space || event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return key && modifiers == Qt::NoModifier && !event.isAutoRepeat();
}
