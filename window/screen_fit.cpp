#include "screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

void TScreenFit::Shown()
{
    Fit();
}

void TScreenFit::Moved()
{
    if (window.isVisible() && FrameMargins() != fittedFrame)
        Fit();
}

void TScreenFit::Fit()
{
    const QRect outer = window.frameGeometry();
    fittedFrame = FrameMargins();
    const QScreen *screen = QGuiApplication::screenAt(outer.center());
    if (screen == nullptr)
        screen = window.screen();
    const QPoint place = PlaceInside(outer, screen->availableGeometry());
    if (place != outer.topLeft())
        window.move(place);
}

QMargins TScreenFit::FrameMargins() const
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}
