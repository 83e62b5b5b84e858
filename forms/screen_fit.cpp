#include "screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QMargins FrameMargins(const QWidget &window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

QPoint PlaceInside(const QRect &outer, const QRect &area)
{
    QPoint place = outer.topLeft();
    if (outer.right() > area.right())
        place.rx() -= outer.right() - area.right();
    if (outer.bottom() > area.bottom())
        place.ry() -= outer.bottom() - area.bottom();
    place.setX(std::max(place.x(), area.left()));
    place.setY(std::max(place.y(), area.top()));
    return place;
}

TScreenFit::TScreenFit(QWidget &window)
    : window(window)
{
}

// Moved before it is shown, the window is placed by its frame, as at its designed place; the
// window's own position is its frame's.
void TScreenFit::Showing()
{
    QMargins frame = FrameMargins(window);
    if (frame.isNull() && window.parentWidget() != nullptr)
        frame = FrameMargins(*window.parentWidget()->window());
    Fit(QRect(window.pos(), window.size().grownBy(frame)));
}

void TScreenFit::Shown()
{
    shownFrame = FrameMargins(window);
}

void TScreenFit::Moved()
{
    const QMargins frame = FrameMargins(window);
    if (!window.isVisible() || frame == shownFrame)
        return;
    shownFrame = frame;
    Fit(window.frameGeometry());
}

void TScreenFit::Fit(const QRect &outer)
{
    const QScreen *screen = QGuiApplication::screenAt(outer.center());
    if (screen == nullptr)
        screen = window.screen();
    const QPoint place = PlaceInside(outer, screen->availableGeometry());
    if (place != outer.topLeft())
        window.move(place);
}
