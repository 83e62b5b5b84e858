#include "colors.h"

#include "colorconv.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {

// Halves to the even integer, as everywhere the colour arithmetic rounds.
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

TColor FromQColor(const QColor &color)
{
    return PackColor(color.red(), color.green(), color.blue());
}

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color;
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
    case 5: return FromQColor(palette.color(QPalette::Base));
    case 6: return FromQColor(palette.color(QPalette::Shadow));
    case 8: return FromQColor(palette.color(QPalette::WindowText));
    case 15: return FromQColor(palette.color(QPalette::Button));
    case 16: return FromQColor(palette.color(QPalette::Dark));
    case 17: return FromQColor(palette.color(QPalette::Disabled, QPalette::Text));
    case 18: return FromQColor(palette.color(QPalette::ButtonText));
    case 20: return FromQColor(palette.color(QPalette::Light));
    default: return clBlack;
    }
}

QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

void ShadeColors(TColor color, TColor &light, TColor &dark, float LightFactor, float DarkFactor)
{
    const TColor rgb = ColorToRGB(color);
    const int channels[3] = {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)};

    int lit[3];
    for (int k = 0; k < 3; ++k) // a factor of 1 would give -1 for a channel of 0; it stays 0
        lit[k] = std::clamp(255 - RoundEven((256 - channels[k]) * static_cast<double>(LightFactor)), 0, 255);

    TColorTriple hls;
    RGB2HLS({channels[0] / 255.0, channels[1] / 255.0, channels[2] / 255.0}, hls);
    hls[1] *= static_cast<double>(DarkFactor);
    TColorTriple shaded;
    HLS2RGB(hls, shaded);

    light = PackColor(lit[0], lit[1], lit[2]);
    dark = PackColor(RoundEven(shaded[0] * 255), RoundEven(shaded[1] * 255), RoundEven(shaded[2] * 255));
}

void ContrastColors(TColor color, TColor &light, TColor &dark, int LightContrast, int DarkContrast)
{
    const auto lightFactor = static_cast<float>((10 - LightContrast) / 10.0);
    const auto darkFactor = static_cast<float>((10 - DarkContrast) / 10.0);
    ShadeColors(color, light, dark, lightFactor, darkFactor);
}

TColor FadeColor(TColor start, TColor target, int Steps)
{
    const TColor from = ColorToRGB(start);
    const TColor to = ColorToRGB(target);
    auto channel = [Steps](int a, int b) {
        const int result = a + RoundEven((b - a) / 9.0 * Steps);
        if (result < 0 || result > 255)
            throw ERangeError();
        return result;
    };
    return PackColor(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
                     channel(BlueOf(from), BlueOf(to)));
}
