#pragma once

// The rack-style controls and the colour model behind them.
#include "canvas.h"
#include "colorconv.h"
#include "colors.h"
#include "faceplate_types.h"
