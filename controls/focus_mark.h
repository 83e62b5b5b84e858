#pragma once

#include "colors.h"

#include <Qt>

class QKeyEvent;
class QWidget;
class TCanvas;

// Whether a control shows its focus mark: only while it holds a focus the keyboard gave it, so a
// window looks as designed until the user tabs into it, and a click shows no mark.
class TFocusMark
{
public:
    void FocusIn(Qt::FocusReason reason);
    bool Shown(const QWidget &control) const;

private:
    bool fromKeyboard = false;
};

// A dotted frame two pixels inside the control's edge, over whatever the face shows there.
void DrawFocusMark(TCanvas &canvas, int width, int height, TColor color);

// Space and Enter press a focused button as a click does; a held key presses once.
bool IsPressKey(const QKeyEvent &event);
