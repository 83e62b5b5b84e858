#include "colorconv.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double Epsilon = 1e-8;

// Corner colours of the hexagon of pure colours, one per sixth of the hue circle, in the cube
// from -1 (channel off) to 1 (channel full).
constexpr double Corner[6][3] = {
    {1, -1, -1}, // red
    {1, 1, -1},  // yellow
    {-1, 1, -1}, // green
    {-1, 1, 1},  // cyan
    {-1, -1, 1}, // blue
    {1, -1, 1},  // magenta
};

void CheckComponents(const TColorTriple &triple, const char *function, const char *const (&names)[3])
{
    for (int k = 0; k < 3; ++k)
        if (!(triple[k] >= 0.0 && triple[k] <= 1.0))
            throw EColorConv(std::string(function) + ": 0 <= " + names[k] + " value <= 1 required");
}

double Clamp01(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

} // namespace

void HLS2RGB(const TColorTriple &source, TColorTriple &destination)
{
    static const char *const names[3] = {"Hue", "Luminance", "Saturation"};
    CheckComponents(source, "HLS2RGB", names);
    const double h = source[0];
    const double l = source[1];
    const double s = source[2];

    const double t = h * 6.0;
    const double whole = std::trunc(t);
    const int i = static_cast<int>(whole) % 6;
    const int j = (i + 1) % 6;
    const double f = t - whole;

    TColorTriple result;
    for (int k = 0; k < 3; ++k) {
        double x = (Corner[j][k] - Corner[i][k]) * f + Corner[i][k];
        x *= s;
        x = l > 0.5 ? (1.0 - l) * x + l : (x + 1.0) * l;
        result[k] = Clamp01(x);
    }
    destination = result;
}

void RGB2HLS(const TColorTriple &source, TColorTriple &destination)
{
    static const char *const names[3] = {"Red", "Green", "Blue"};
    CheckComponents(source, "RGB2HLS", names);

    double v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = 2.0 * source[k] - 1.0;
    int d = 0;
    double m = std::fabs(v[0]);
    for (int k = 1; k < 3; ++k)
        if (std::fabs(v[k]) > m) {
            m = std::fabs(v[k]);
            d = k;
        }
    if (m < Epsilon) {
        destination = {0.0, 0.5, 0.0};
        return;
    }

    double q[3];
    for (int k = 0; k < 3; ++k)
        q[k] = v[k] / m;

    const bool lightHalf = v[d] > 0;
    if (lightHalf) {
        const double n = std::max({1.0 - q[0], 1.0 - q[1], 1.0 - q[2]});
        if (n < Epsilon) {
            destination = {0.0, source[0], 0.0};
            return;
        }
        for (double &c : q)
            c = (c - 1.0) * (2.0 / n) + 1.0;
        d = 0;
        for (int k = 1; k < 3; ++k)
            if (q[k] < q[d])
                d = k;
    } else {
        const double n = std::max({q[0] + 1.0, q[1] + 1.0, q[2] + 1.0});
        if (n < Epsilon) {
            destination = {0.0, source[0], 0.0};
            return;
        }
        for (double &c : q)
            c = (c + 1.0) * (2.0 / n) - 1.0;
    }

    // Hue from the stretched point and its smallest channel, as a number from 0 to 6.
    double hue = 0.0;
    switch (d) {
    case 2:
        hue = q[0] > q[1] ? (q[1] + 1.0) / 2.0 : 2.0 - (q[0] + 1.0) / 2.0;
        break;
    case 0:
        hue = q[1] > q[2] ? (q[2] + 1.0) / 2.0 + 2.0 : 4.0 - (q[1] + 1.0) / 2.0;
        break;
    default:
        hue = q[2] > q[0] ? (q[0] + 1.0) / 2.0 + 4.0 : 6.0 - (q[2] + 1.0) / 2.0;
        break;
    }

    // Saturation and luminance from the first pair of channels that tells them apart.
    constexpr int pairs[3][2] = {{0, 1}, {1, 2}, {0, 2}};
    double saturation = 0.0;
    double luminance = lightHalf ? 1.0 + (v[0] - 1.0) / 2.0 : (v[0] + 1.0) / 2.0;
    for (const auto &pair : pairs) {
        const int a = pair[0];
        const int b = pair[1];
        if (std::fabs(v[b] - v[a]) > Epsilon) {
            saturation = lightHalf ? (v[b] - v[a]) / ((v[b] - 1.0) * q[a] - (v[a] - 1.0) * q[b])
                                   : (v[b] - v[a]) / ((v[a] + 1.0) * q[b] - (v[b] + 1.0) * q[a]);
            break;
        }
    }
    for (const auto &pair : pairs) {
        const int a = pair[0];
        const int b = pair[1];
        if (std::fabs(q[b] - q[a]) > Epsilon) {
            luminance = lightHalf ? 1.0 + ((v[a] - 1.0) * q[b] - (v[b] - 1.0) * q[a]) / (2.0 * (q[b] - q[a]))
                                  : ((v[a] + 1.0) * q[b] - (v[b] + 1.0) * q[a]) / (2.0 * (q[b] - q[a]));
            break;
        }
    }
    destination = {Clamp01(hue / 6.0), Clamp01(luminance), Clamp01(saturation)};
}
