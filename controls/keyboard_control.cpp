#include "keyboard_control.h"

#include "canvas.h"

#include <QKeyEvent>

TFocusMarkedControl::TFocusMarkedControl(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TFocusMarkedControl::DrawFocusMark(TCanvas &canvas, TColor color) const
{
    canvas.SetPenColor(color);
    canvas.DottedFrame(2, 2, width() - 2, height() - 2);
}

void TFocusMarkedControl::focusInEvent(QFocusEvent *event)
{
    // Coming back to the window or from a menu keeps what the focus was.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        focusFromKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                            reason == Qt::ShortcutFocusReason;
    update();
}

void TFocusMarkedControl::focusOutEvent(QFocusEvent *)
{
    update();
}

TKeyboardControl::TKeyboardControl(QWidget *parent)
    : TFocusMarkedControl(parent)
{
}

// A held key presses once.
void TKeyboardControl::keyPressEvent(QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool pressKey =
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (pressKey && modifiers == Qt::NoModifier && !event->isAutoRepeat())
        Press();
    else
        QWidget::keyPressEvent(event);
}
