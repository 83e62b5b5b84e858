#pragma once

#include "colors.h"

#include <QWidget>

class TCanvas;

// What the LED button and the button panel share for the keyboard: Tab reaches them, Space or
// Enter presses them as a click does, and they show a focus mark only while they hold a focus that
// the keyboard gave them, so a window looks as designed until the user tabs into it.
class TKeyboardControl : public QWidget
{
    Q_OBJECT

public:
    // A press by the keyboard or an assistive tool: exactly what a click does.
    virtual void Press() = 0;

protected:
    explicit TKeyboardControl(QWidget *parent);

    bool ShowsFocusMark() const { return focusFromKeyboard && hasFocus(); }
    // A dotted frame two pixels inside the control's edge, over whatever the face shows there.
    void DrawFocusMark(TCanvas &canvas, TColor color) const;

    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool focusFromKeyboard = false;
};
