#pragma once

#include <QFont>

// The windows' default font: "MS Sans Serif" at 8 points (11 pixels), or the nearest sans-serif
// face the system has.
QFont WindowFont();
