#pragma once

#include <array>
#include <stdexcept>

// Conversions between red/green/blue and hue/luminance/saturation triples, every component
// in 0..1. Hue is a fraction of the colour circle (0 and 1 red, 1/3 green, 2/3 blue).
using TColorTriple = std::array<double, 3>;

// A component outside 0..1 (or not a number); the message names the first such component.
class EColorConv : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Throws EColorConv "HLS2RGB: 0 <= %s value <= 1 required"; the destination is then untouched.
void HLS2RGB(const TColorTriple &source, TColorTriple &destination);
// The exact inverse, computed geometrically in the cube from -1 to 1; red tints get hue 1.
// Throws EColorConv "RGB2HLS: 0 <= %s value <= 1 required".
void RGB2HLS(const TColorTriple &source, TColorTriple &destination);
