#pragma once

#include "colors.h"

#include <QWidget>

class TCanvas;

// A control that the keyboard reaches: Tab stops at it, and it shows a focus mark only while it
// holds a focus that the keyboard gave it (Tab, Shift+Tab, or a key that brings the focus there),
// so a window looks as designed until the user works it by keyboard.
class TFocusMarkedControl : public QWidget
{
    Q_OBJECT

protected:
    explicit TFocusMarkedControl(QWidget *parent);

    bool ShowsFocusMark() const { return focusFromKeyboard && hasFocus(); }
    // A dotted frame two pixels inside the control's edge, over whatever the face shows there.
    void DrawFocusMark(TCanvas &canvas, TColor color) const;

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool focusFromKeyboard = false;
};

// What the LED button and the button panel share for the keyboard: Space or Enter presses them as
// a click does.
class TKeyboardControl : public TFocusMarkedControl
{
    Q_OBJECT

public:
    // A press by the keyboard or an assistive tool: exactly what a click does.
    virtual void Press() = 0;

protected:
    explicit TKeyboardControl(QWidget *parent);

    void keyPressEvent(QKeyEvent *event) override;
};
