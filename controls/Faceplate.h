#pragma once

// The rack-style controls and the colour model behind them.
#include "accelerators.h"
#include "announcer.h"
#include "bevel.h"
#include "button_panel.h"
#include "canvas.h"
#include "colorconv.h"
#include "colors.h"
#include "digit_images.h"
#include "display_text.h"
#include "faceplate_accessibility.h"
#include "faceplate_types.h"
#include "keyboard_control.h"
#include "led_button.h"
#include "led_display.h"
