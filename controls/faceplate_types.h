#pragma once

#include <cstdint>

// The enumeration types the rack-style controls share; each takes one byte, and an
// enumerator's ordinal value is its position in the list.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TButtonDirection : std::uint8_t { bdBottomUp, bdLeftUp, bdNone, bdRightUp, bdTopUp };
enum TDecSeparator : std::uint8_t { dsApostrophe, dsComma, dsDoublePoint, dsHyphen, dsNone, dsPoint, dsSemicolon };
enum TSegmentStyle : std::uint8_t { ssRectangular, ssBeveled };
enum TTextPosition : std::uint8_t { tpAbove, tpBelow, tpNone, tpOnButton };
// The framework's bevel kinds, as the display's BevelStyle uses them.
enum TBevelStyle : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// LED contrast 0..9 and glyph count 0..4.
using TContrast = std::uint8_t;
using TNumGlyphs = std::uint8_t;
constexpr TContrast MaxContrast = 9;
constexpr TNumGlyphs MaxNumGlyphs = 4;

static_assert(sizeof(TBorderStyle) == 1 && sizeof(TButtonDirection) == 1 && sizeof(TDecSeparator) == 1 &&
              sizeof(TSegmentStyle) == 1 && sizeof(TTextPosition) == 1 && sizeof(TContrast) == 1 &&
              sizeof(TNumGlyphs) == 1);
static_assert(bsSingle == 1 && bdTopUp == 4 && dsSemicolon == 6 && dsPoint == 5 && ssBeveled == 1 &&
              tpOnButton == 3);
