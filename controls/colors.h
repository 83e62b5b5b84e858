#pragma once

#include <QColor>

#include <cstdint>
#include <stdexcept>

// A colour in the framework's encoding: red in the low byte, then green, then blue ($00BBGGRR).
// A value with the top bit set names a system colour by its low byte.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;

// The main window's readout, and the icon that shows it.
constexpr TColor ReadoutColor = 16773680;

constexpr TColor SystemColor(int index)
{
    return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index));
}
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);

constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor PackColor(int red, int green, int blue)
{
    return red + green * 256 + blue * 65536;
}

// The RGB value of a colour: a system colour is looked up in the application's current palette
// (window frame: Shadow, window text: WindowText, grey text: disabled Text, button shadow: Dark,
// button highlight: Light, button face: Button, button text: ButtonText, window: Base); any other
// value is its own RGB value.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);

// A result channel of FadeColor outside 0..255.
class ERangeError : public std::range_error
{
public:
    ERangeError()
        : std::range_error("Range check error")
    {
    }
};

// The light and dark shades of a colour: each light channel c becomes
// 255 - round((256 - c) x LightFactor); the dark shade is the colour with its luminance
// multiplied by DarkFactor. Rounding takes halves to the even integer.
void ShadeColors(TColor color, TColor &light, TColor &dark, float LightFactor, float DarkFactor);
// ShadeColors with the factors (10 - contrast) / 10, each rounded to single precision.
void ContrastColors(TColor color, TColor &light, TColor &dark, int LightContrast, int DarkContrast);
// The start colour moved Steps ninths of the way toward the target. Throws ERangeError when a
// channel leaves 0..255 (possible only for Steps outside 0..9).
TColor FadeColor(TColor start, TColor target, int Steps);
