#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

#include <array>

// The application's icon: one seven-segment digit of the main window's readout, set in a grey
// rack face, drawn by the program's own controls.

// The sizes of the hicolor theme the icon is drawn in, in pixels.
inline constexpr std::array IconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The icon at `size` x `size` pixels.
QImage RenderIcon(int size);

// The same drawing as scalable SVG, from the controls' own geometry and colours.
QByteArray IconSvg();

// The icon as the program's windows carry it, at the sizes window managers show.
QIcon AppIcon();
