#pragma once

#include "colors.h"
#include "faceplate_types.h"

class TCanvas;

// A box from (Left, Top) to (Right, Bottom), the right column and bottom row excluded.
struct TBox
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TBox &other) const = default;
};

// The look the LED button and the button panel share: a face with an optional one-pixel
// border and a bevel D + 1 lines thick along the edge the direction names.
struct TBevelLook
{
    TButtonDirection Direction = bdBottomUp;
    bool Beveled = true;
    TBorderStyle BorderStyle = bsSingle;
    int Depth = 3;
    TColor Light = clWhite;
    TColor Shadow = clBlack;
};

// Draws the border and the bevel lines of `face` (the client rectangle less any caption band).
void DrawBevel(TCanvas &canvas, TBox face, const TBevelLook &look, bool pressed);

// The LED slot in the paint rectangle, and the paint rectangle less the slot's strip, where the
// caption and glyph then go. A pressed button's rectangle first moves Depth div 2 pixels the way
// it is pushed.
struct TLEDSlot
{
    TBox Slot;
    TBox Rest;
};
TLEDSlot PlaceLEDSlot(TBox paint, int depth, TButtonDirection direction, bool pressed);
