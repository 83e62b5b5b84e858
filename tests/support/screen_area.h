#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qwindowsysteminterface.h>

// The offscreen platform's one screen, with a work area (without panels) as a desktop reports it.
inline void SetScreenArea(const QRect &geometry, const QRect &workArea)
{
    QWindowSystemInterface::handleScreenGeometryChange(QGuiApplication::primaryScreen(), geometry, workArea);
    QWindowSystemInterface::flushWindowSystemEvents();
}

// A screen on which both windows fit at their designed places.
inline const QRect LargeScreen{0, 0, 1920, 1080};
