#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qwindowsysteminterface.h>

// Gives the offscreen platform's one screen a size and a work area (the area without panels), as
// a desktop would report them.
inline void SetScreenArea(const QRect &geometry, const QRect &workArea)
{
    QWindowSystemInterface::handleScreenGeometryChange(QGuiApplication::primaryScreen(), geometry, workArea);
    QWindowSystemInterface::flushWindowSystemEvents();
}

// A screen on which both windows fit at their designed places.
inline const QRect LargeScreen{0, 0, 1920, 1080};
