#include "bevel.h"

#include "canvas.h"

namespace {

// The lines of one bevel, drawn light first, then dark; each ends one pixel before its end point.
class BevelLines
{
public:
    BevelLines(TCanvas &canvas, const TBox &inside, int depth)
        : canvas(canvas)
        , x0(inside.Left)
        , y0(inside.Top)
        , x1(inside.Right - 1)
        , y1(inside.Bottom - 1)
        , depth(depth)
    {
    }

    void Line(int ax, int ay, int bx, int by) { canvas.Line({ax, ay}, {bx, by}); }
    // One line for each i from 0 to Depth, with h = i div 2; none for a negative depth.
    template <typename Draw>
    void ForEach(Draw draw)
    {
        for (int i = 0; i <= depth; ++i)
            draw(i, i / 2);
    }

    void BottomUp(bool beveled, bool pressed, TColor light, TColor shadow);
    void LeftUp(bool beveled, bool pressed, TColor light, TColor shadow);
    void RightUp(bool beveled, bool pressed, TColor light, TColor shadow);
    void TopUp(bool beveled, bool pressed, TColor light, TColor shadow);

private:
    TCanvas &canvas;
    const int x0;
    const int y0;
    const int x1;
    const int y1;
    const int depth;
};

void BevelLines::BottomUp(bool beveled, bool pressed, TColor light, TColor shadow)
{
    canvas.SetPenColor(light);
    Line(x1, y0, x0, y0);
    if (beveled && !pressed)
        ForEach([&](int i, int) { Line(x0, y0, x0 + i, y1 - i); });
    else if (beveled)
        ForEach([&](int, int h) { Line(x0, y0, x0 + h, y1); });
    else
        Line(x0, y0, x0, y1);

    canvas.SetPenColor(shadow);
    if (beveled && !pressed) {
        ForEach([&](int i, int) { Line(x1, y0, x1 - i, y1 - i); });
        ForEach([&](int i, int) { Line(x0 + i, y1 - i, x1 - i, y1 - i); });
    } else if (beveled) {
        ForEach([&](int, int h) { Line(x1, y0, x1 - h, y1); });
        Line(x0, y1, x1, y1);
    } else {
        Line(x1, y0, x1, y1 + 1);
        if (pressed)
            Line(x0, y1, x1, y1);
        else
            ForEach([&](int i, int) { Line(x0, y1 - i, x1, y1 - i); });
    }
}

void BevelLines::LeftUp(bool beveled, bool pressed, TColor light, TColor shadow)
{
    canvas.SetPenColor(light);
    if (beveled && !pressed) {
        ForEach([&](int i, int) { Line(x1, y0, x0 + i, y0 + i); });
        ForEach([&](int i, int) { Line(x0 + i, y0 + i, x0 + i, y1 - i); });
    } else if (beveled) {
        ForEach([&](int, int h) { Line(x1, y0, x0, y0 + h); });
        Line(x0, y0, x0, y1);
    } else {
        Line(x0, y0, x1, y0);
        if (pressed)
            Line(x0, y0, x0, y1);
        else
            ForEach([&](int i, int) { Line(x0 + i, y0, x0 + i, y1); });
    }

    canvas.SetPenColor(shadow);
    Line(x1, y0, x1, y1);
    if (beveled && !pressed)
        ForEach([&](int i, int) { Line(x1, y1, x0 + i, y1 - i); });
    else if (beveled)
        ForEach([&](int, int h) { Line(x1, y1, x0, y1 - h); });
    else
        Line(x1, y1, x0, y1);
}

void BevelLines::RightUp(bool beveled, bool pressed, TColor light, TColor shadow)
{
    canvas.SetPenColor(light);
    if (beveled && !pressed)
        ForEach([&](int i, int) { Line(x0, y0, x1 - i, y0 + i); });
    else if (beveled)
        ForEach([&](int, int h) { Line(x0, y0, x1, y0 + h); });
    else
        Line(x0, y0, x1, y0);
    Line(x0, y0, x0, y1);

    canvas.SetPenColor(shadow);
    if (beveled && !pressed) {
        ForEach([&](int i, int) { Line(x1 - i, y0 + i, x1 - i, y1 - i); });
        ForEach([&](int i, int) { Line(x0, y1, x1 - i, y1 - i); });
    } else if (beveled) {
        Line(x1, y0, x1, y1);
        ForEach([&](int, int h) { Line(x0, y1, x1, y1 - h); });
    } else {
        if (pressed)
            Line(x1, y0, x1, y1);
        else
            ForEach([&](int i, int) { Line(x1 - i, y0, x1 - i, y1); });
        Line(x0, y1, x1, y1);
    }
}

void BevelLines::TopUp(bool beveled, bool pressed, TColor light, TColor shadow)
{
    canvas.SetPenColor(light);
    if (beveled && !pressed) {
        ForEach([&](int i, int) { Line(x0 + i, y0 + i, x1 - i, y0 + i); });
        ForEach([&](int i, int) { Line(x0, y1, x0 + i, y0 + i); });
    } else if (beveled) {
        Line(x0, y0, x1, y0);
        ForEach([&](int, int h) { Line(x0, y1, x0 + h, y0); });
    } else {
        if (pressed)
            Line(x0, y0, x1, y0);
        else
            ForEach([&](int i, int) { Line(x0, y0 + i, x1, y0 + i); });
        Line(x0, y0, x0, y1);
    }

    canvas.SetPenColor(shadow);
    if (beveled && !pressed)
        ForEach([&](int i, int) { Line(x1, y1, x1 - i, y0 + i); });
    else if (beveled)
        ForEach([&](int, int h) { Line(x1, y1, x1 - h, y0); });
    else
        Line(x1, y0, x1, y1 + 1);
    Line(x1, y1, x0, y1);
}

} // namespace

void DrawBevel(TCanvas &canvas, TBox face, const TBevelLook &look, bool pressed)
{
    if (look.BorderStyle == bsSingle) {
        canvas.SetBrushColor(clWindowFrame);
        canvas.FrameRect(face.Left, face.Top, face.Right, face.Bottom);
        face = {face.Left + 1, face.Top + 1, face.Right - 1, face.Bottom - 1};
    }
    canvas.SetPenWidth(1);
    BevelLines lines(canvas, face, look.Depth);
    switch (look.Direction) {
    case bdBottomUp: lines.BottomUp(look.Beveled, pressed, look.Light, look.Shadow); break;
    case bdLeftUp: lines.LeftUp(look.Beveled, pressed, look.Light, look.Shadow); break;
    case bdRightUp: lines.RightUp(look.Beveled, pressed, look.Light, look.Shadow); break;
    case bdTopUp: lines.TopUp(look.Beveled, pressed, look.Light, look.Shadow); break;
    case bdNone: break;
    }
}

TLEDSlot PlaceLEDSlot(TBox p, int depth, TButtonDirection direction, bool pressed)
{
    const int D = depth;
    if (pressed) {
        const int shift = D / 2;
        switch (direction) {
        case bdBottomUp:
        case bdNone: p.Top += shift, p.Bottom += shift; break;
        case bdTopUp: p.Top -= shift, p.Bottom -= shift; break;
        case bdLeftUp: p.Left -= shift, p.Right -= shift; break;
        case bdRightUp: p.Left += shift, p.Right += shift; break;
        }
    }
    TLEDSlot placed{{}, p};
    switch (direction) {
    case bdBottomUp:
    case bdNone:
        placed.Slot = {p.Left + D + 3, p.Bottom - D - 9, p.Right - D - 3, p.Bottom - D - 4};
        placed.Rest.Bottom = p.Bottom - D - 7;
        break;
    case bdTopUp:
        placed.Slot = {p.Left + D + 3, p.Top + D + 4, p.Right - D - 3, p.Top + D + 9};
        placed.Rest.Top = p.Top + D + 7;
        break;
    case bdLeftUp:
        placed.Slot = {p.Left + D + 4, p.Top + D + 3, p.Left + D + 9, p.Bottom - D - 3};
        placed.Rest.Left = p.Left + D + 9;
        break;
    case bdRightUp:
        placed.Slot = {p.Right - D - 9, p.Top + D + 3, p.Right - D - 4, p.Bottom - D - 3};
        placed.Rest.Right = p.Right - D - 9;
        break;
    }
    return placed;
}
