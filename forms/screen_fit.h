#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Where a window's frame goes to lie wholly inside `area` by the smallest shift; one larger than
// the area keeps its top-left corner there, so its title bar stays within reach.
QPoint PlaceInside(const QRect &outer, const QRect &area);

// Keeps a top-level window within the available area of its screen (without panels and docks):
// when the program shows it, and again when the window manager has framed it and so made it
// larger, a window that would stick out is moved in by the smallest shift, never resized. One
// that fits stays exactly where it is, and a window the user moves is left where it is put.
class TScreenFit
{
public:
    explicit TScreenFit(QWidget &window);

    // The program is about to show the window. One never framed yet is expected to get the
    // frame its owner has.
    void Showing();
    // The window is shown, with the frame it has so far.
    void Shown();
    // The window moved or changed size: when its frame is not the one it was fitted with, the
    // window manager has just framed it.
    void Moved();

private:
    void Fit(const QRect &outer);

    QWidget &window;
    QMargins shownFrame;
};
